// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QMenu;

namespace qon::tools_common {

class RecentFiles;

// Adds the submenu "最近使ったファイル(&R)" to `fileMenu`. It is filled from `recent` each
// time it opens: "&1 Forest.msp  (/home/a/sets)" ..., then "一覧を消去(&C)". Choosing a file
// calls `open` with its path. The submenu is named "RecentFiles", its file items
// "RecentFile1" ... and the clearing item "ClearRecentFiles".
QMenu* AddRecentFilesMenu(QMenu* fileMenu, RecentFiles& recent,
                          std::function<void(const QString& path)> open);

// Fills the submenu now, as opening it does.
void FillRecentFilesMenu(QMenu* menu, RecentFiles& recent,
                         const std::function<void(const QString& path)>& open);

}  // namespace qon::tools_common
