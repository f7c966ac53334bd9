// SPDX-License-Identifier: MIT
// Smoke test of the window under the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "bitmap_fixture.h"
#include "qon/pavane/pavane_window.h"

// Fontconfig keeps its caches until exit; under LeakSanitizer that is not our leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so";
}

namespace qon::pavane {
namespace {

using tools::ScriptedPrompter;
using tools::toQ;

QApplication& app() {
    // The test never needs a real display, whoever runs it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pavane_window_tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

TEST(PavaneWindowSmoke, ShowsTheElementsAndPicksAGroup) {
    app();
    testing::BitmapFolder folder;
    ScriptedPrompter prompter;
    FileImageLoader loader;
    PavaneWindow window(prompter, loader);
    window.show();

    EXPECT_EQ(window.windowTitle(), QStringLiteral("QONPavane"));
    const QList<QLabel*> blocks = window.findChildren<QLabel*>(QStringLiteral("picBlock"));
    EXPECT_EQ(blocks.size(), 9);
    EXPECT_EQ(window.findChildren<QLabel*>(QStringLiteral("picSBlock")).size(), 11);
    EXPECT_EQ(window.findChildren<QLabel*>(QStringLiteral("picPartu")).size(), 3);
    for (const char* name : {"NewFile", "OpenF", "Save", "VSave", "EndF"}) {
        EXPECT_NE(window.findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;
    }
    auto* setName = window.findChild<QLineEdit*>(QStringLiteral("texGraName"));
    auto* staff = window.findChild<QLineEdit*>(QStringLiteral("texStaff"));
    ASSERT_NE(setName, nullptr);
    ASSERT_NE(staff, nullptr);
    EXPECT_EQ(setName->text(), QStringLiteral("New"));
    EXPECT_EQ(staff->text(), QStringLiteral("New"));

    for (int slot = 0; slot < kBlockSlots; ++slot) {
        prompter.fileAnswers.push_back(toQ(folder.fittingBitmap(slot)));
    }
    auto* browse = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->text(), QStringLiteral("参照"));
    browse->click();

    EXPECT_EQ(prompter.dialogFilters.size(), 9);
    for (QLabel* preview : blocks) {
        EXPECT_FALSE(preview->pixmap().isNull()) << preview->property("index").toInt();
        EXPECT_EQ(preview->pixmap().size(), QSize(53, 15));
    }
    EXPECT_FALSE(window.grab().isNull());

    // Typing a name is an unsaved change: closing asks, and Cancel keeps the window.
    setName->setText(QStringLiteral("Mine"));
    emit setName->textEdited(setName->text());
    EXPECT_EQ(window.document().setName(), "Mine");
    EXPECT_FALSE(window.close());
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_TRUE(window.isVisible());

    prompter.unsavedAnswers.push_back(tools::Prompter::Answer::Discard);
    EXPECT_TRUE(window.close());
}

}  // namespace
}  // namespace qon::pavane
