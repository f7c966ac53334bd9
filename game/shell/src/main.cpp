// SPDX-License-Identifier: MIT
// qon: the game on the SDL platform; with --play, a test play of one stage project.

#include <iostream>
#include <string>
#include <vector>

#include "qon/data/game_folders.h"
#include "qon/data/paths.h"
#include "qon/platform/sdl_media.h"
#include "qon/shell/command_line.h"
#include "qon/shell/shell.h"

int main(int argc, char** argv) {
    using qon::shell::GameCommandLine;
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto line = qon::shell::ParseGameCommandLine(args, error);
    if (!line) {
        std::cerr << "qon: " << error << "\nTry 'qon --help'.\n";
        return qon::shell::kExitUsage;
    }
    if (line->action == GameCommandLine::Action::Help) {
        std::cout << qon::shell::GameHelpText();
        return 0;
    }
    if (line->action == GameCommandLine::Action::Version) {
        std::cout << qon::shell::GameVersionText();
        return 0;
    }
    // Once, for the game's own messages and the data library's reasons inside them alike.
    const qon::Language language = qon::LanguageFromEnvironment();
    qon::SetLanguage(language);
    qon::platform::SdlMedia media;
    qon::shell::GameShell shell(media, qon::FindGameFolders(qon::ProgramFolder()), language);
    if (line->action == GameCommandLine::Action::TestPlay) return shell.TestPlay(line->testPlay);
    return shell.Form_Load();
}
