// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace qon::stage_editor {

// What Tessel was asked to do on its command line:
//   Tessel [PROJECT.stp]    open the window (with that project)
//   Tessel --help | -h      print how to use it and end
//   Tessel --version        print the version and end
struct TesselCommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::string project;  // empty: start without a project
    std::string error;    // for Error: what is wrong, for the terminal
};

// `arguments` without the program name. --help and --version win over anything else on
// the line, so that they work even beside options meant for Qt; "--" ends the options.
TesselCommandLine ParseTesselCommandLine(const std::vector<std::string>& arguments);

std::string TesselHelpText();
std::string TesselVersionText();

}  // namespace qon::stage_editor
