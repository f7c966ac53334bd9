// SPDX-License-Identifier: MIT
#include "qon/tools_common/recent_files_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "qon/tools_common/recent_files.h"

namespace qon::tools_common {

void FillRecentFilesMenu(QMenu* menu, RecentFiles& recent,
                         const std::function<void(const QString& path)>& open) {
    menu->clear();
    const QStringList paths = recent.paths();
    if (paths.isEmpty()) {
        QAction* none = menu->addAction(QCoreApplication::translate("RecentFilesMenu", "（なし）"));
        none->setEnabled(false);
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        const QFileInfo file(path);
        // "&1" .. "&8" for the keyboard; the folder tells two sets of one name apart. An
        // "&" in a name would be taken for a shortcut mark.
        QString text = QStringLiteral("&%1 %2  (%3)")
                           .arg(QString::number(i + 1),
                                file.fileName().replace(QLatin1Char('&'), QStringLiteral("&&")),
                                QDir::toNativeSeparators(file.absolutePath())
                                    .replace(QLatin1Char('&'), QStringLiteral("&&")));
        QAction* action = menu->addAction(text);
        action->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        action->setToolTip(path);
        QObject::connect(action, &QAction::triggered, menu, [open, path] { open(path); });
    }
    menu->addSeparator();
    QAction* clear =
        menu->addAction(QCoreApplication::translate("RecentFilesMenu", "一覧を消去(&C)"));
    clear->setObjectName(QStringLiteral("ClearRecentFiles"));
    QObject::connect(clear, &QAction::triggered, menu, [&recent] { recent.clear(); });
}

QMenu* AddRecentFilesMenu(QMenu* fileMenu, RecentFiles& recent,
                          std::function<void(const QString& path)> open) {
    QMenu* menu =
        fileMenu->addMenu(QCoreApplication::translate("RecentFilesMenu", "最近使ったファイル(&R)"));
    menu->setObjectName(QStringLiteral("RecentFiles"));
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [menu, &recent, open] { FillRecentFilesMenu(menu, recent, open); });
    FillRecentFilesMenu(menu, recent, open);
    return menu;
}

}  // namespace qon::tools_common
