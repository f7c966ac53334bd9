// SPDX-License-Identifier: MIT
#pragma once

// Test support for the rules of play, free of any platform: a media stand-in that draws
// nothing, takes its input directly and records effects and music calls by name, and a
// game prepared with named effects and tracks. The rules tests link no SDL library.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "qon/play/game.h"

namespace qon::play::test {

// Effects and tracks of the tests carry their names themselves; the media layer's own
// know none.
struct NamedEffect final : media::SoundEffect {
    explicit NamedEffect(std::string n) : name(std::move(n)) {}
    std::string name;
};
struct NamedTrack final : media::MusicTrack {
    explicit NamedTrack(std::string l) : label(std::move(l)) {}
    std::string label;
};
// The name of a NamedEffect, "(unnamed)" for any other effect.
std::string NameOf(const media::SoundEffect& effect);
// The label of a NamedTrack, "(unlabelled)" for any other track.
std::string LabelOf(const media::MusicTrack& track);

// Draws nothing: surfaces are sizes only. Time is virtual (16 ms a flip), input comes
// from `pad` and `keys`, and the seed of play's generator is the one it was made with.
class RulesMedia final : public media::Media {
  public:
    explicit RulesMedia(std::uint32_t seed = 1) : m_seed(seed) {}

    media::ControllerState pad;
    std::set<int> keys;
    // Music calls as "play stage:0 x8", "stop title", "resume stage:1".
    std::vector<std::string> music;
    std::vector<std::string> TakeSounds();

    media::Surface& BackBuffer() override;
    media::SurfacePtr CreateOffscreenSurface(int width, int height) override;
    media::SurfacePtr LoadSurfaceFromFile(const std::string& path) override;
    int BltSprite(media::Surface&, int, int, int, int, const media::Surface&, int, int,
                  bool) override {
        return 0;
    }
    int BltStretch(media::Surface&, int, int, int, int, const media::Surface&, int, int, int, int,
                   bool) override {
        return 0;
    }
    void FillSurface(media::Surface&, std::uint32_t) override {}
    std::uint32_t ToSurfaceColor(std::uint32_t rgb) override { return rgb; }
    void FlipScreen() override { m_tick += 16; }
    void DrawLine(media::Surface&, int, int, int, int, std::uint32_t, std::uint32_t, int, int,
                  int) override {}
    void DrawBox(media::Surface&, int, int, int, int, std::uint32_t, std::uint32_t, int, int,
                 int) override {}
    void DrawCircle(media::Surface&, int, int, int, std::uint32_t, std::uint32_t, int, int,
                    int) override {}
    void DrawString(media::Surface&, int, int, std::string_view, std::uint32_t, bool,
                    int) override {}
    media::SoundEffectPtr LoadSoundEffect(const std::string& path) override;
    void PlaySoundEffect(media::SoundEffect& effect) override;
    media::MusicTrackPtr LoadMusic(const std::string& path) override;
    bool UnloadMusic(media::MusicTrackPtr& track) override;
    bool PlayMusic(media::MusicTrack* track, int repeats) override;
    bool ResumeMusic(media::MusicTrack* track) override;
    bool StopMusic(media::MusicTrack* track) override;
    void InitJoystick(int) override {}
    void ReadController() override { m_controller = pad; }
    bool IsKeyDown(int virtualKey) override { return keys.count(virtualKey) != 0; }
    std::int32_t Tick() override { return m_tick; }
    void PumpEvents() override {}
    void Doze(int ms) override { m_tick += ms; }
    void ShowMessage(const std::string&, const std::string&) override {}
    std::uint32_t RandomSeed() override { return m_seed; }

  private:
    std::uint32_t m_seed;
    std::int32_t m_tick = 0;
    std::vector<std::string> m_sounds;
    media::SurfacePtr m_back;
};

// Named effects ("SeKin") and tracks ("title", "ending", "stage:0", ...); StageMusic
// gets its spare empty entry.
void FillSounds(SoundEffects& sounds);
void FillMusic(MusicSet& music, int stageTracks);

// A game with effects and music, a reset play state whose generator is seeded from the
// media, and an empty grid in play geometry.
void PrepareGameForTest(Game& game, int stageTracks = 3);

// Makes one cell a live block of `kind` as a stage load would.
void PutBlock(PlayState& play, int row, int column, int kind);

}  // namespace qon::play::test
