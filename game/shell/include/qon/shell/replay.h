// SPDX-License-Identifier: MIT
#pragma once

// The replay runner behind the developer tool qon-replay: the real game on the headless
// twin, driven by a script of input events, writing one trace line per presented frame
// and pictures of chosen frames. The format is described in game/shell/REPLAY.md.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "qon/headless/headless.h"
#include "qon/shell/command_line.h"

namespace qon::play {
struct Game;
}

namespace qon::shell {

// The headless twin as the replay runner and the tests use it: music calls are recorded
// with the repeat count of every play ("play title x4": four repeats after the first
// play), and effects and tracks by the names the trace gives them.
class ReplayMedia : public headless::HeadlessMedia {
  public:
    using HeadlessMedia::HeadlessMedia;
    // Names what is recorded after the game's effects and tracks: an effect by its file
    // name without extension ("SeKin"), a track "title", "ending" or "stage:N" (N from 0
    // in the music set).
    void NameAfter(const play::Game& game);
    bool PlayMusic(media::MusicTrack* track, int repeats) override;
    // The music calls since the previous take, in order: "play LABEL xN", "resume LABEL",
    // "stop LABEL", "unload LABEL".
    std::vector<std::string> TakeMusicCalls();

  private:
    void collectMusicCalls();
    std::vector<std::string> m_musicCalls;
};

// The trace names of an effect and of a track of the game; "(unnamed)" and
// "(unlabelled)" for one the game does not hold.
std::string EffectName(const play::Game& game, const media::SoundEffect& effect);
std::string TrackLabel(const play::Game& game, const media::MusicTrack& track);

struct ReplayScript {
    std::vector<headless::InputEvent> input;
    std::set<int> shots;  // frames to write as frame-N.bmp
    std::set<int> grids;  // frames whose trace line carries the grid
    bool joystickPresent = false;
};

// A script line that cannot be understood; what() names the file and the line.
class ReplayScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses the script text. `fileName` only names the file in errors.
ReplayScript ParseReplayScript(std::string_view text, const std::string& fileName);

struct ReplayOptions {
    std::string gameFolder;
    std::string scriptPath;  // empty: no script (only with a scripted player)
    std::string outDir = ".";
    std::uint32_t seed = 1;
    int frames = -1;  // stop after this many presented frames; -1 = when the game ends
    // A test play (--play, --stage, --graphic-set, --music-set) instead of the game.
    std::optional<TestPlayOptions> testPlay;
    // --player SEED: the scripted player plays along with the script.
    std::optional<std::uint32_t> playerSeed;
    // --stop-on SCREEN: the run ends once the first frame of any of these screens has
    // been presented.
    std::set<std::string, std::less<>> stopOn;
};

// The usage line of qon-replay.
inline constexpr const char* kReplayUsage =
    "usage: qon-replay GAMEFOLDER SCRIPT [--seed N] [--frames N] [--out DIR]\n"
    "                  [--play PROJECT.stp [--stage N] [--graphic-set SET.bgp]\n"
    "                   [--music-set SET.msp]] [--player SEED] [--stop-on SCREEN]...\n"
    "       (SCRIPT may be left out when --player is given)\n";

// Parses the arguments of qon-replay (kReplayUsage). On a mistake returns nothing and
// fills `error` with what is wrong.
std::optional<ReplayOptions> ParseReplayArguments(const std::vector<std::string>& args,
                                                  std::string& error);

// One trace line (a JSON object, no line end) of the frame just presented. Takes the
// sounds, music events and messages recorded since the previous line.
std::string TraceLine(int frame, ReplayMedia& media, const play::Game& game, bool withGrid);

// Runs the game. Returns the game's exit status (0 unless it ended through an error),
// or 2 when the script, the output folder or the arguments are unusable (reported on
// `err`).
int RunReplay(const ReplayOptions& options, std::ostream& err);

}  // namespace qon::shell
