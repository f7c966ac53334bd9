// SPDX-License-Identifier: MIT
// Test play from the editor: the game's command line, where the game is found, and the
// save-first question, with a recording launcher in place of starting a process.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "graphic_set_files.h"
#include "painting.h"
#include "qon/data/stage.h"
#include "qon/stage_editor/stage_project_commands.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::stage_editor {
namespace {

using test::PaintCell;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;
using tools_common::Prompter;
using tools_common::ScriptedPrompter;
using tools_common::toQ;

QON_PRINT_ROWS_BY_NAME

// A file that may be run.
void MakeProgram(const std::string& path) {
    WriteBytes(path, "#!/bin/sh\n");
    ASSERT_EQ(::chmod(path.c_str(), 0755), 0);
}

// ---- the command line ------------------------------------------------------------------

TEST(TestPlayCommandLine, NamesTheProjectAndTheStage) {
    EXPECT_EQ(TestPlayArguments("/home/a/Spring.stp", 12, {}),
              (QStringList{"--play", "/home/a/Spring.stp", "--stage", "12"}));
}

TEST(TestPlayCommandLine, PassesTheChosenGraphicSet) {
    EXPECT_EQ(TestPlayArguments("/p/My Stages.stp", 1, "/sets/Night Sky.bgp"),
              (QStringList{"--play", "/p/My Stages.stp", "--stage", "1", "--graphic-set",
                           "/sets/Night Sky.bgp"}));
}

// ---- finding the game ----------------------------------------------------------------------

struct FindRow {
    const char* name;
    bool beside = false;         // build/tools/stage_editor/qon
    bool staged = false;         // build/qon/qon
    bool onPath = false;         // bin/qon, bin on the search path
    bool besideIsPlain = false;  // the file beside is there but may not be run
    const char* expected = "";   // "beside", "staged", "path" or "" for none
};

class FindGame : public ::testing::TestWithParam<FindRow> {};

TEST_P(FindGame, LooksBesideThenInTheBuildThenOnThePath) {
    const auto& row = GetParam();
    ScratchFolder dir;
    const std::string editorFolder = dir.folder("build/tools/stage_editor");
    dir.folder("build/qon");
    const std::string bin = dir.folder("bin");
    if (row.beside) MakeProgram(editorFolder + "qon");
    if (row.besideIsPlain) WriteBytes(editorFolder + "qon", "not a program");
    if (row.staged) MakeProgram(dir.file("build/qon/qon"));
    if (row.onPath) MakeProgram(bin + "qon");
    dir.folder("elsewhere/qon");  // a folder named like the game is no game

    const QString found =
        FindGameProgram(toQ(editorFolder), {toQ(dir.file("elsewhere")), toQ(bin)});
    const std::string expected = row.expected;
    if (expected == "beside") {
        EXPECT_EQ(found, toQ(editorFolder + "qon"));
    } else if (expected == "staged") {
        EXPECT_EQ(found, toQ(dir.file("build/qon/qon")));
    } else if (expected == "path") {
        EXPECT_EQ(found, toQ(bin + "qon"));
    } else {
        EXPECT_TRUE(found.isEmpty()) << found.toStdString();
    }
}

const FindRow kFindRows[] = {
    {.name = "BesideComesFirst",
     .beside = true,
     .staged = true,
     .onPath = true,
     .expected = "beside"},
    {.name = "TheStagedGameFolderComesNext", .staged = true, .onPath = true, .expected = "staged"},
    {.name = "ThePathComesLast", .onPath = true, .expected = "path"},
    {.name = "AFileThatMayNotBeRunIsPassedBy",
     .onPath = true,
     .besideIsPlain = true,
     .expected = "path"},
    {.name = "NowhereIsEmpty"},
};
INSTANTIATE_TEST_SUITE_P(Places, FindGame, ::testing::ValuesIn(kFindRows), RowName);

// ---- starting the game --------------------------------------------------------------------------

struct Launch {
    QString program;
    QStringList arguments;
    QString folder;
};

class TestPlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeProgram(dir.file("qon"));
        commands.setGameSearchPath({});
        commands.setLauncher(
            [this](const QString& program, const QStringList& arguments, const QString& folder) {
                launches.push_back({program, arguments, folder});
                return launcherWorks;
            });
    }
    // A project saved at Spring.stp with the editor on stage 2.
    void savedProject() {
        ASSERT_TRUE(commands.createProject({"Spring", "3", "Ann"}));
        prompter.fileAnswers.push_back(toQ(dir.file("Spring.stp")));
        ASSERT_TRUE(commands.saveAs());
        document.stepGo();
    }

    ScratchFolder dir;
    EditorSettings settings{toQ(dir.file("tessel.ini"))};
    StageProjectDocument document;
    BlockImages images;
    ScriptedPrompter prompter;
    StageProjectCommands commands{document, images, prompter, dir.path(), &settings};
    std::vector<Launch> launches;
    bool launcherWorks = true;
};

TEST_F(TestPlayTest, ASavedProjectPlaysTheEditedStageWithoutAQuestion) {
    savedProject();
    ASSERT_TRUE(commands.testPlay());
    EXPECT_TRUE(prompter.saveFirstTexts.isEmpty());
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, toQ(dir.file("qon")));
    EXPECT_EQ(launches[0].arguments,
              (QStringList{"--play", toQ(dir.file("Spring.stp")), "--stage", "2"}));
    EXPECT_EQ(launches[0].folder + "/", toQ(dir.path()));
}

TEST_F(TestPlayTest, TheGraphicSetChosenInTheEditorGoesAlong) {
    const std::string set = test::MakeGraphicSet(dir, 25);
    prompter.fileAnswers.push_back(toQ(set));
    ASSERT_TRUE(commands.openGraphicSet());
    savedProject();
    ASSERT_TRUE(commands.testPlay());
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].arguments.mid(4), (QStringList{"--graphic-set", toQ(set)}));
}

TEST_F(TestPlayTest, AGraphicSetThatCouldNotBeReadIsNotPassed) {
    prompter.fileAnswers.push_back(toQ(dir.file("missing.bgp")));
    EXPECT_FALSE(commands.openGraphicSet());
    EXPECT_TRUE(commands.graphicSetPath().isEmpty());
    savedProject();
    ASSERT_TRUE(commands.testPlay());
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].arguments.size(), 4);
}

struct SaveFirstRow {
    const char* name;
    bool saved = true;      // the project has a file
    bool answer = false;    // Save (true) or Cancel
    bool nameGiven = true;  // the save dialog of a project without a file is answered
    bool launched = false;
    const char* question = "";
};

class SaveFirst : public TestPlayTest, public ::testing::WithParamInterface<SaveFirstRow> {};

TEST_P(SaveFirst, AsksBeforePlayingUnsavedWork) {
    const auto& row = GetParam();
    if (row.saved) {
        savedProject();
    } else {
        ASSERT_TRUE(commands.createProject({"Spring", "3", "Ann"}));
        document.stepGo();
    }
    PaintCell(document, 2, 2, Kind::Bomb);
    prompter.saveFirstAnswers.push_back(row.answer);
    if (!row.saved && row.nameGiven) prompter.fileAnswers.push_back(toQ(dir.file("New.stp")));

    EXPECT_EQ(commands.testPlay(), row.launched);
    ASSERT_EQ(prompter.saveFirstTexts.size(), 1);
    EXPECT_TRUE(prompter.saveFirstTexts[0].contains(QString::fromUtf8(row.question)))
        << prompter.saveFirstTexts[0].toStdString();
    EXPECT_EQ(launches.size(), row.launched ? 1u : 0u);
    EXPECT_EQ(document.isModified(), !row.launched);
    if (row.launched) {
        // The game reads what was just saved.
        StageGrid game;
        ResetGrid(game);
        ReadStageFile(document.state().ProjectPath, 2, game);
        EXPECT_EQ(game[2 * kGridColumns + 2].Kind, Kind::Bomb);
        EXPECT_EQ(launches[0].arguments[1], toQ(document.state().ProjectPath));
    }
    EXPECT_TRUE(prompter.messages.isEmpty());
}

const SaveFirstRow kSaveFirstRows[] = {
    {.name = "SaveThenPlay",
     .answer = true,
     .launched = true,
     .question = "保存していない変更があります。\n先に保存しますか？"},
    {.name = "CancelPlaysNothingAndSavesNothing", .question = "保存していない変更があります。"},
    {.name = "ANewProjectIsSavedUnderANameFirst",
     .saved = false,
     .answer = true,
     .launched = true,
     .question = "まだ保存されていません。"},
    {.name = "ACancelledNameDialogPlaysNothing",
     .saved = false,
     .answer = true,
     .nameGiven = false,
     .question = "まだ保存されていません。"},
};
INSTANTIATE_TEST_SUITE_P(Answers, SaveFirst, ::testing::ValuesIn(kSaveFirstRows), RowName);

TEST_F(TestPlayTest, ANewProjectWithNothingPaintedMustBeSavedToo) {
    ASSERT_TRUE(commands.createProject({"Spring", "3", "Ann"}));
    EXPECT_FALSE(commands.testPlay());
    EXPECT_EQ(prompter.saveFirstTexts.size(), 1);
    EXPECT_TRUE(launches.empty());
}

TEST_F(TestPlayTest, NoProjectNoPlay) {
    EXPECT_FALSE(commands.testPlay());
    EXPECT_TRUE(prompter.saveFirstTexts.isEmpty());
    EXPECT_TRUE(launches.empty());
}

TEST_F(TestPlayTest, AMissingGameIsReportedWithWhereItWasLookedFor) {
    ScratchFolder empty;
    StageProjectCommands elsewhere{document, images, prompter, empty.path(), &settings};
    elsewhere.setGameSearchPath({});
    elsewhere.setLauncher([this](const QString&, const QStringList&, const QString&) {
        launches.push_back({});
        return true;
    });
    savedProject();
    EXPECT_FALSE(elsewhere.testPlay());
    EXPECT_TRUE(launches.empty());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(
        QStringLiteral("ゲーム（qon）が見つからないため、テストプレイできません。")));
    EXPECT_TRUE(prompter.messages[0].contains(QStringLiteral("build/qon/")));
    EXPECT_EQ(prompter.messageKinds, QList{Prompter::MessageKind::Warning});
    EXPECT_EQ(prompter.titles, QStringList{QStringLiteral("QONCreater-Spring-製作者：Ann")});
}

TEST_F(TestPlayTest, AGameThatDoesNotStartIsReported) {
    savedProject();
    launcherWorks = false;
    EXPECT_FALSE(commands.testPlay());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(QStringLiteral("ゲームを起動できませんでした。")));
    EXPECT_TRUE(prompter.messages[0].contains(toQ(dir.file("qon"))));
}

}  // namespace
}  // namespace qon::stage_editor
