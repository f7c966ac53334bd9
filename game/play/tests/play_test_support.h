// SPDX-License-Identifier: MIT
#pragma once

// Test support for play's screens: a headless media twin that can also take input
// directly and record what was drawn, and a throw-away game folder with a generated stage
// project and graphic set.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qon/headless/headless.h"
#include "qon/play/game.h"
#include "qon/test_support/scratch_folder.h"
#include "rules_media.h"

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

class TestMedia : public headless::HeadlessMedia {
  public:
    // Opens the game font, as the shell does at start-up (text cannot be drawn before),
    // and names recorded effects and tracks by their NamedEffect and NamedTrack names.
    explicit TestMedia(std::uint32_t seed = 1);
    bool fontReady = false;

    // The game whose screen is noted at every presented frame.
    void watch(const Game& game) { m_game = &game; }
    // The screen of the watched game.
    std::string_view screenName() const { return m_game != nullptr ? m_game->screen : ""; }

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
    std::vector<std::string> screens;  // every change of screen seen at a flip, in order

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
    void FlipScreen() override;

  private:
    const Game* m_game = nullptr;
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
    std::string path() const { return m_folder.path(); }
    std::string projectPath() const { return m_folder.file("Test.stp"); }
    std::string graphicSetPath() const { return m_folder.file("Test.bgp"); }

    void writeStages(const std::vector<StageLayout>& stages);
    // The 23 bitmaps and the set file, drawn with the given media.
    void writeGraphicSet(headless::RasterMedia& media);

  private:
    test_support::ScratchFolder m_folder;
};

}  // namespace qon::play::test
