// SPDX-License-Identifier: MIT
#include "qon/tools_common/command_line.h"

#include <QCoreApplication>
#include <cstdio>

#include "qon/tools_common/application.h"

namespace qon::tools_common {

namespace {

// A text of a ToolDescription, marked for translation where the tool describes itself.
QString describe(const char* text) {
    return QCoreApplication::translate("ToolCommandLine", text);
}

QString helpText(const ToolDescription& tool) {
    const QString program = QString::fromUtf8(tool.program);
    QString text =
        QCoreApplication::translate("ToolCommandLine", "使い方: %1 [オプション]").arg(program);
    if (tool.fileArgument) text += QStringLiteral(" [%1]").arg(describe(tool.fileArgument));
    text += QStringLiteral("\n%1\n").arg(describe(tool.summary));
    if (tool.fileArgument && tool.fileMeaning)
        text += QStringLiteral("\n%1\n").arg(describe(tool.fileMeaning));
    text += QCoreApplication::translate("ToolCommandLine",
                                        "\nオプション:\n"
                                        "  -h, --help     この説明を表示して終了します\n"
                                        "  --version      バージョンを表示して終了します\n");
    return text;
}

QStringList fromArgv(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

QString ToolVersion() {
    return QStringLiteral(QON_VERSION);
}

ToolCommandLine ParseToolCommandLine(const QStringList& arguments, const ToolDescription& tool) {
    const QString program = QString::fromUtf8(tool.program);
    ToolCommandLine result;
    // Help and version first: they answer whatever else stands beside them.
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--")) break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.action = ToolCommandLine::Action::Help;
            result.text = helpText(tool);
            return result;
        }
        if (argument == QLatin1String("--version")) {
            result.action = ToolCommandLine::Action::Version;
            result.text = QStringLiteral("%1 (qon) %2\n").arg(program, ToolVersion());
            return result;
        }
    }

    auto refuse = [&](const QString& why) {
        result.action = ToolCommandLine::Action::Error;
        result.file.clear();
        result.text = QCoreApplication::translate("ToolCommandLine",
                                                  "%1: %2\n詳しくは「%1 --help」を見てください。\n")
                          .arg(program, why);
        return result;
    };
    bool optionsEnded = false;
    QStringList files;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            return refuse(
                QCoreApplication::translate("ToolCommandLine", "知らないオプションです: %1")
                    .arg(argument));
        files << argument;
    }
    if (!files.isEmpty() && !tool.fileArgument)
        return refuse(QCoreApplication::translate("ToolCommandLine", "ファイルは指定できません: %1")
                          .arg(files.first()));
    if (files.size() > 1)
        return refuse(
            QCoreApplication::translate("ToolCommandLine", "開けるファイルは 1 つだけです: %1")
                .arg(files.join(QLatin1Char(' '))));
    if (!files.isEmpty()) result.file = files.first();
    return result;
}

std::optional<int> AnswerHelpOrVersion(int argc, char* argv[], const ToolDescription& tool) {
    const ToolCommandLine line = ParseToolCommandLine(fromArgv(argc, argv), tool);
    if (line.action != ToolCommandLine::Action::Help &&
        line.action != ToolCommandLine::Action::Version)
        return std::nullopt;
    // Translations need an application; a core one needs no display.
    QCoreApplication app(argc, argv);
    InstallTranslations(app);
    print(stdout, ParseToolCommandLine(fromArgv(argc, argv), tool).text);
    return 0;
}

std::optional<int> RefuseBadArguments(const QStringList& arguments, const ToolDescription& tool,
                                      QString& file) {
    const ToolCommandLine line = ParseToolCommandLine(arguments.mid(1), tool);
    if (line.action == ToolCommandLine::Action::Error) {
        print(stderr, line.text);
        return 2;
    }
    file = line.file;
    return std::nullopt;
}

}  // namespace qon::tools_common
