// SPDX-License-Identifier: MIT
#pragma once

// Test support for play: a headless media twin that can also take input directly and
// record what was drawn, and a throw-away game folder with a generated stage project and
// graphic set.

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qon/media/headless.h"
#include "qon/play/game.h"

namespace qon::play::test {

struct TextCall {
    int x, y;
    std::string text;
    std::uint32_t colour;
    int size;
};

struct BlitCall {
    int x, y, w, h;
    const media::Surface* source;
    bool keyed;
};

struct CircleCall {
    int x, y, radius;
};

class TestMedia : public media::HeadlessMedia {
  public:
    // Opens the game font, as the shell does at start-up (text cannot be drawn before).
    explicit TestMedia(std::uint32_t seed = 1);
    bool fontReady = false;

    // Direct input: ReadController and IsKeyDown answer from `pad` and `keys` instead of
    // the script. Step tests use it; whole-game runs use the script.
    bool directInput = false;
    media::ControllerState pad;
    std::set<int> keys;

    bool recordDrawing = false;
    std::vector<TextCall> texts;
    std::vector<BlitCall> blits;
    std::vector<CircleCall> circles;
    int boxCount = 0;
    void clearRecords();

    // Music calls as "play stage:0", "stop title", "resume stage:1".
    std::vector<std::string> music;
    std::vector<std::string> screens;  // every screen name change, in order

    void ReadController() override;
    bool IsKeyDown(int virtualKey) override;
    void DrawString(media::Surface& s, int x, int y, std::string_view text, std::uint32_t colour,
                    bool transparent, int size) override;
    int BltSprite(media::Surface& dst, int x, int y, int w, int h, const media::Surface& src,
                  int sx, int sy, bool keyed) override;
    void DrawCircle(media::Surface& s, int x, int y, int radius, std::uint32_t fore,
                    std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) override;
    void DrawBox(media::Surface& s, int x1, int y1, int x2, int y2, std::uint32_t fore,
                 std::uint32_t fill, int drawStyle, int fillStyle, int lineWidth) override;
    bool PlayMusic(media::MusicTrack* track, int repeats) override;
    bool ResumeMusic(media::MusicTrack* track) override;
    bool StopMusic(media::MusicTrack* track) override;
    void SetScreenName(std::string_view name) override;
};

// Colours of the generated graphic set, all exact in RGB565.
std::uint32_t BlockColour(int slot);
std::uint32_t SpecialColour(int slot);
inline constexpr std::uint32_t kKeyColour = media::Rgb(248, 0, 248);
inline constexpr std::uint32_t kBallColour = media::Rgb(248, 248, 0);
inline constexpr std::uint32_t kMiniBallColour = media::Rgb(0, 248, 248);
inline constexpr std::uint32_t kBarColour = media::Rgb(200, 100, 48);

// A stage: cell index -> Kind; every other cell is empty (255).
using StageLayout = std::map<int, int>;

class GameFolder {
  public:
    GameFolder();
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string projectPath() const { return (m_path / "Test.stp").string(); }
    std::string graphicSetPath() const { return (m_path / "Test.bgp").string(); }

    void writeStages(const std::vector<StageLayout>& stages);
    // The 23 bitmaps and the set file, drawn with the given media.
    void writeGraphicSet(media::RasterMedia& media);

  private:
    std::filesystem::path m_path;
};

// Effects named like the real files ("SeKin"), tracks labelled "title", "ending",
// "stage:0", ...; StageMusic gets its spare empty entry.
void FillSounds(SoundEffects& sounds);
void FillMusic(MusicSet& music, int stageTracks);

// A game with effects and music, a reset play state and an empty grid in play geometry.
void PrepareGameForTest(Game& game, int stageTracks = 3);

// Makes one cell a live block of `kind` as a stage load would.
void PutBlock(PlayState& play, int row, int column, int kind);

class RecordingShell : public ShellScreens {
  public:
    int saves = 0;
    int endings = 0;
    std::vector<int> savedStages;  // StageNumber at each StageClearSave
    std::vector<bool> spaceLatchedAtSave;
    Game* game = nullptr;
    void StageClearSave() override;
    void PlayEnding() override { ++endings; }
};

}  // namespace qon::play::test
