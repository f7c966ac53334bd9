// SPDX-License-Identifier: MIT
#pragma once

// Runs of the replay runner in the test process, and the reading of their traces.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game_folder.h"
#include "qon/shell/replay.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::shell_test {

// The value of a field of one trace line: a string without its quotes, a number, true
// or false; "" when the line has no such field.
std::string Field(const std::string& line, const std::string& name);

struct ReplayRun {
    std::shared_ptr<test_support::ScratchFolder> scratch;
    int status = -1;
    std::string out;                 // the output folder, without a trailing "/"
    std::vector<std::string> trace;  // every line, the closing line last
    std::string errors;              // what the runner wrote to standard error

    // Index of the first line whose screen is `screen`, from `from` on; -1 when none.
    int firstScreen(const std::string& screen, int from = 0) const;
    bool anyLineHas(const std::string& text) const;
    // How many lines show `screen`.
    int countScreen(const std::string& screen) const;
};

// Runs the game folder with the script for at most `frames` frames; `adjust` may add
// options (a test play, a player, --stop-on) before the run.
ReplayRun Replay(const GameFolder& game, const std::string& script, const std::string& outName,
                 int frames, std::uint32_t seed = 1,
                 const std::function<void(shell::ReplayOptions&)>& adjust = {});

}  // namespace qon::shell_test
