// SPDX-License-Identifier: MIT
// qon-replay: the game on the headless platform, driven by a script (see REPLAY.md).

#include <iostream>
#include <string>
#include <vector>

#include "qon/shell/replay.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = qon::shell::ParseReplayArguments(args, error);
    if (!options) {
        std::cerr << "qon-replay: " << error << "\n" << qon::shell::kReplayUsage;
        return qon::shell::kExitUsage;
    }
    return qon::shell::RunReplay(*options, std::cerr);
}
