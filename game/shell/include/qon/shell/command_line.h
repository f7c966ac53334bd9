// SPDX-License-Identifier: MIT
#pragma once

// The game's command line. Without arguments qon is the game as players know it. With
// --play it is a test play of one stage project, the way the stage editor starts it: no
// logo, no title, and the program ends where play would go back to the title. The
// replay runner takes the same test-play options, so scripts can exercise them.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qon::shell {

// Exit status for a command line that cannot be understood (the game's own statuses are
// in shell.h).
inline constexpr int kExitUsage = 2;

// One test play. It writes nothing: no "Init.bse", no save file; the stage-clear save
// screen is skipped.
struct TestPlayOptions {
    std::string projectPath;  // the stage project (.stp)
    int stage = 1;            // where play starts, 1 .. the project's stage count
    // Empty: the set the player chose in the game ("Init.bse" and the lists, only read).
    std::string graphicSetPath;
    std::string musicSetPath;
};

// Collects the four test-play options from a command line whose other options belong to
// the caller (qon or qon-replay). Each option takes its value from the next argument.
class TestPlayArguments {
  public:
    // When args[i] is "--play", "--stage", "--graphic-set" or "--music-set": takes it and
    // its value, leaves i on the value and returns true; a mistake in it (no value, a
    // stage that is no number from 1 to 32767, an option given twice) fills `error`.
    // Returns false, touching nothing, for any other argument.
    bool take(const std::vector<std::string>& args, std::size_t& i, std::string& error);
    // The test play asked for, or nothing when --play was not given. Another test-play
    // option without --play fills `error`.
    std::optional<TestPlayOptions> finish(std::string& error) const;

  private:
    std::optional<std::string> m_project;
    std::optional<int> m_stage;
    std::optional<std::string> m_graphicSet;
    std::optional<std::string> m_musicSet;
};

struct GameCommandLine {
    enum class Action { Game, TestPlay, Help, Version };
    Action action = Action::Game;
    TestPlayOptions testPlay;  // for Action::TestPlay
};

// `qon`, `qon --play PROJECT.stp [--stage N] [--graphic-set SET.bgp] [--music-set
// SET.msp]`, `qon --help`, `qon --version`. --help, then --version, win over anything
// else on the line. On a mistake returns nothing and fills `error` with what is wrong.
std::optional<GameCommandLine> ParseGameCommandLine(const std::vector<std::string>& args,
                                                    std::string& error);

// What `qon --help` prints, ending in a line end.
std::string GameHelpText();
// What `qon --version` prints: "qon" and the version, ending in a line end.
std::string GameVersionText();

}  // namespace qon::shell
