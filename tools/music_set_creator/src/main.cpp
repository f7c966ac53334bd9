// SPDX-License-Identifier: MIT
// Orvinth, the music set creator of qon.
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTimer>

#include "qon/data/language.h"
#include "qon/music_set_creator/music_set_window.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/command_line.h"
#include "qon/tools_common/qt_prompter.h"

int main(int argc, char* argv[]) {
    const qon::tools_common::ToolDescription tool{
        .program = "Orvinth",
        .summary =
            "qon のミュージックセット作成ツールです。タイトル、ゲーム中とスタッフロールの"
            "MIDI ファイルを選んで、ミュージックセット（.msp）を作ります。",
        .fileArgument = "ミュージックセット.msp",
        .fileMeaning = "ファイルを指定すると、起動したときにそのミュージックセットを開きます。"};
    // Before the application: it needs a display, and help needs none.
    if (auto status = qon::tools_common::AnswerHelpOrVersion(argc, argv, tool)) return *status;

    QApplication app(argc, argv);
    qon::SetLanguage(qon::LanguageFromEnvironment());
    QApplication::setOrganizationName(QStringLiteral("qon"));
    QApplication::setApplicationName(QStringLiteral("Orvinth"));
    QString file;
    if (auto status = qon::tools_common::RefuseBadArguments(QApplication::arguments(), tool, file))
        return *status;
    qon::tools_common::InstallJapaneseQtTexts(app);

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
