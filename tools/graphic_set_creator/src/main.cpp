// SPDX-License-Identifier: MIT
// Pavane, the graphic set creator of qon.
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTimer>

#include "qon/graphic_set_creator/graphic_set_window.h"
#include "qon/graphic_set_creator/image_loader.h"
#include "qon/tools_common/application.h"
#include "qon/tools_common/command_line.h"
#include "qon/tools_common/qt_prompter.h"

int main(int argc, char* argv[]) {
    const qon::tools_common::ToolDescription tool{
        .program = qon::graphic_set_creator::kProgramName,
        .summary = QT_TRANSLATE_NOOP(
            "ToolCommandLine",
            "qon のグラフィックセット作成ツールです。ブロック、特殊ブロック、ボールとバーの"
            "ビットマップを選んで、グラフィックセット（.bgp）を作ります。"),
        .fileArgument = QT_TRANSLATE_NOOP("ToolCommandLine", "グラフィックセット.bgp"),
        .fileMeaning = QT_TRANSLATE_NOOP(
            "ToolCommandLine",
            "ファイルを指定すると、起動したときにそのグラフィックセットを開きます。")};
    // Before the application: it needs a display, and help needs none.
    if (auto status = qon::tools_common::AnswerHelpOrVersion(argc, argv, tool)) return *status;

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("qon"));
    QApplication::setApplicationName(QStringLiteral("Pavane"));
    // Before any text is made, the refusal of bad arguments included.
    qon::tools_common::InstallLanguage(app);
    QString file;
    if (auto status = qon::tools_common::RefuseBadArguments(QApplication::arguments(), tool, file))
        return *status;

    QSettings settings;
    qon::tools_common::QtPrompter prompter(
        qon::tools_common::DialogFolder(&settings, QStringLiteral("lastFolder"), QDir::homePath()));
    qon::graphic_set_creator::FileImageLoader loader;
    qon::graphic_set_creator::GraphicSetWindow window(prompter, loader, &settings);
    window.show();
    // Once the window is up, so that a message about the file stands over it.
    if (!file.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, path = QDir::current().absoluteFilePath(file)] {
            window.openAtStart(path);
        });
    }
    return QApplication::exec();
}
