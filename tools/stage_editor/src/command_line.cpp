// SPDX-License-Identifier: MIT
#include "qon/stage_editor/command_line.h"

#include <QCoreApplication>

#ifndef QON_VERSION
#define QON_VERSION "0.0.0"
#endif

namespace qon::stage_editor {

namespace {

// The terminal speaks UTF-8, as the rest of the editor's strings are kept.
std::string say(const QString& text) {
    return text.toStdString();
}

}  // namespace

TesselCommandLine ParseTesselCommandLine(const std::vector<std::string>& arguments) {
    TesselCommandLine line;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            TesselCommandLine help;
            help.action = TesselCommandLine::Action::Help;
            return help;
        }
        if (!optionsEnded && argument == "--version") {
            TesselCommandLine version;
            version.action = TesselCommandLine::Action::Version;
            return version;
        }
        if (line.action == TesselCommandLine::Action::Error) continue;
        if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            line.action = TesselCommandLine::Action::Error;
            line.error =
                say(QCoreApplication::translate("TesselCommandLine", "不明なオプションです: %1")
                        .arg(QString::fromStdString(argument)));
        } else if (!line.project.empty()) {
            line.action = TesselCommandLine::Action::Error;
            line.error =
                say(QCoreApplication::translate("TesselCommandLine",
                                                "開けるステージプロジェクトは 1 つだけです: %1")
                        .arg(QString::fromStdString(argument)));
        } else {
            line.project = argument;
        }
    }
    if (line.action == TesselCommandLine::Action::Error) line.project.clear();
    return line;
}

std::string TesselHelpText() {
    return say(QCoreApplication::translate(
        "TesselCommandLine",
        "使い方: Tessel [ステージプロジェクト.stp]\n"
        "\n"
        "qon のステージエディタ Tessel（QONCreater）を開きます。ステージプロジェクト\n"
        "のファイルを渡すと、それを開いた状態で始まります。\n"
        "\n"
        "オプション:\n"
        "  -h, --help     この説明を表示して終わります\n"
        "  --version      バージョンを表示して終わります\n"
        "\n"
        "Usage: Tessel [PROJECT.stp]  (--help, --version)\n"));
}

std::string TesselVersionText() {
    return std::string("Tessel (QONCreater) ") + QON_VERSION + "\n";
}

}  // namespace qon::stage_editor
