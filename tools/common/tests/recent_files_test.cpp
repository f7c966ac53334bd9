// SPDX-License-Identifier: MIT
// The recent files and the dialogs' folder, kept in a settings file of a scratch folder.
#include "qon/tools_common/recent_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <filesystem>
#include <memory>

#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"
#include "qon/tools_common/dialog_folder.h"
#include "qon/tools_common/qt_text.h"

namespace qon::tools_common {
namespace {

using test_support::ScratchFolder;

std::unique_ptr<QSettings> settingsIn(const ScratchFolder& folder) {
    return std::make_unique<QSettings>(toQ(folder.file("tool.ini")), QSettings::IniFormat);
}

QString file(int n) {
    return QStringLiteral("/sets/set%1.bgp").arg(n);
}

TEST(RecentFiles, KeepsTheEightNewestNewestFirst) {
    ScratchFolder folder;
    auto settings = settingsIn(folder);
    RecentFiles recent(settings.get());
    for (int n = 1; n <= 10; ++n) recent.add(file(n));

    const QStringList expected = {file(10), file(9), file(8), file(7),
                                  file(6),  file(5), file(4), file(3)};
    EXPECT_EQ(recent.paths(), expected);
}

TEST(RecentFiles, ReopeningAFileMovesItToTheTopOnce) {
    RecentFiles recent(nullptr);
    recent.add(file(1));
    recent.add(file(2));
    recent.add(QStringLiteral("/sets/../sets/set1.bgp"));

    EXPECT_EQ(recent.paths(), (QStringList{file(1), file(2)}));
}

TEST(RecentFiles, OutliveTheSessionAndSeeAnotherCopyOfTheTool) {
    ScratchFolder folder;
    {
        auto settings = settingsIn(folder);
        RecentFiles(settings.get()).add(file(1));
    }
    auto mine = settingsIn(folder);
    auto other = settingsIn(folder);
    RecentFiles recent(mine.get());
    EXPECT_EQ(recent.paths(), QStringList{file(1)});

    RecentFiles(other.get()).add(file(2));
    recent.add(file(3));
    EXPECT_EQ(recent.paths(), (QStringList{file(3), file(2), file(1)}));
}

TEST(RecentFiles, RemoveAndClear) {
    RecentFiles recent(nullptr);
    recent.add(file(1));
    recent.add(file(2));
    recent.remove(file(1));
    EXPECT_EQ(recent.paths(), QStringList{file(2)});
    recent.clear();
    EXPECT_TRUE(recent.paths().isEmpty());
}

TEST(DialogFolder, StartsInTheFallbackThenWhereTheLastFileWasChosen) {
    ScratchFolder folder;
    const std::string game = folder.folder("game");
    const std::string sets = folder.folder("sets");
    DialogFolder dialogs(nullptr, {}, toQ(game));
    EXPECT_EQ(dialogs.folder(), QDir::cleanPath(toQ(game)));

    dialogs.remember(toQ(sets + "Forest.msp"));
    EXPECT_EQ(dialogs.folder(), QDir::cleanPath(toQ(sets)));
}

TEST(DialogFolder, IsRememberedAcrossSessionsUntilTheFolderGoes) {
    ScratchFolder folder;
    const std::string sets = folder.folder("sets");
    {
        auto settings = settingsIn(folder);
        DialogFolder(settings.get(), QStringLiteral("lastFolder"), {})
            .remember(toQ(sets + "a.bmp"));
    }
    auto settings = settingsIn(folder);
    DialogFolder dialogs(settings.get(), QStringLiteral("lastFolder"), toQ(folder.path()));
    EXPECT_EQ(dialogs.folder(), QDir::cleanPath(toQ(sets)));

    std::filesystem::remove(sets);
    EXPECT_EQ(dialogs.folder(), QDir::cleanPath(toQ(folder.path())));
}

TEST(DialogFolder, WithoutAnyFolderLeavesTheChoiceToTheDialog) {
    DialogFolder dialogs(nullptr, {}, QStringLiteral("/no/such/folder"));
    EXPECT_TRUE(dialogs.folder().isEmpty());
}

}  // namespace
}  // namespace qon::tools_common
