// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qon::tools_common {

// What a tool says about itself on the terminal. The texts are Japanese, marked with
// QT_TRANSLATE_NOOP("ToolCommandLine", ...) so that they are translated as they are printed.
struct ToolDescription {
    const char* program;  // "Pavane"
    const char* summary;  // one line
    // What the one file argument is ("グラフィックセット.bgp"); nullptr for a tool that
    // takes none.
    const char* fileArgument = nullptr;
    // What the tool does with it.
    const char* fileMeaning = nullptr;
};

// The tools' version: the project's.
QString ToolVersion();

struct ToolCommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString file;  // Run: the file to open at start; empty for none
    QString text;  // Help, Version and Error: what to print (Error: to stderr)
};

// Reads the arguments after the program name. --help (-h) and --version win wherever they
// stand, so they work before Qt has taken its own options (-platform, -style ...) out, and
// without a display. Otherwise at most one file for a tool that takes one; "--" ends the
// options, so a file whose name begins with "-" can be given after it.
ToolCommandLine ParseToolCommandLine(const QStringList& arguments, const ToolDescription& tool);

// Help and version before anything else: prints to stdout and gives the exit status 0;
// std::nullopt when neither was asked for. Call it with argv before the QApplication
// exists, since that needs a display.
std::optional<int> AnswerHelpOrVersion(int argc, char* argv[], const ToolDescription& tool);

// After the QApplication has taken its options, given its arguments (the program name
// first): an unknown option or a surplus argument
// is printed to stderr with a hint and gives the exit status 2; otherwise the file to open
// (possibly empty) is returned in `file`.
std::optional<int> RefuseBadArguments(const QStringList& arguments, const ToolDescription& tool,
                                      QString& file);

}  // namespace qon::tools_common
