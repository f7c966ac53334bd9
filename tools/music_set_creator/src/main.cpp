// SPDX-License-Identifier: MIT
// Orvinth, the music set creator of qon.
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTimer>

#include "qon/music_set_creator/music_set_window.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/command_line.h"
#include "qon/tools_common/qt_prompter.h"

int main(int argc, char* argv[]) {
    const qon::tools_common::ToolDescription tool{
        .program = "Orvinth",
        .summary = QT_TRANSLATE_NOOP(
            "ToolCommandLine",
            "qon のミュージックセット作成ツールです。タイトル、ゲーム中とスタッフロールの"
            "MIDI ファイルを選んで、ミュージックセット（.msp）を作ります。"),
        .fileArgument = QT_TRANSLATE_NOOP("ToolCommandLine", "ミュージックセット.msp"),
        .fileMeaning = QT_TRANSLATE_NOOP(
            "ToolCommandLine",
            "ファイルを指定すると、起動したときにそのミュージックセットを開きます。")};
    // Before the application: it needs a display, and help needs none.
    if (auto status = qon::tools_common::AnswerHelpOrVersion(argc, argv, tool)) return *status;

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("qon"));
    QApplication::setApplicationName(QStringLiteral("Orvinth"));
    // Before any text is made, the refusal of bad arguments included.
    qon::tools_common::InstallLanguage(app);
    QString file;
    if (auto status = qon::tools_common::RefuseBadArguments(QApplication::arguments(), tool, file))
        return *status;

    QSettings settings;
    qon::tools_common::QtPrompter prompter(
        qon::tools_common::DialogFolder(&settings, QStringLiteral("lastFolder"), QDir::homePath()));
    qon::music_set_creator::MusicSetWindow window(prompter, &settings);
    window.show();
    // Once the window is up, so that a message about the file stands over it.
    if (!file.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, path = QDir::current().absoluteFilePath(file)] {
            window.openAtStart(path);
        });
    }
    return QApplication::exec();
}
