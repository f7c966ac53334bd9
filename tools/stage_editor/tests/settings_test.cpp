// SPDX-License-Identifier: MIT
// What Tessel remembers between sessions, its command line, and the Japanese details of its
// messages.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/stage.h"
#include "qon/stage_editor/command_line.h"
#include "qon/stage_editor/editor_settings.h"
#include "qon/stage_editor/problem_text.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/language.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::stage_editor {
namespace {

using test_support::LanguageScope;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

QON_PRINT_ROWS_BY_NAME

// ---- zoom ----------------------------------------------------------------------------

struct FitRow {
    const char* name;
    int width = 0;
    int height = 0;
    int factor = 1;
};

class FitZoom : public ::testing::TestWithParam<FitRow> {};

TEST_P(FitZoom, PicksTheLargestWholeFactorThatFits) {
    EXPECT_EQ(FitZoomFactor(GetParam().width, GetParam().height), GetParam().factor);
}

const FitRow kFitRows[] = {
    {.name = "ExactlyTheGridArea", .width = 640, .height = 480, .factor = 1},
    {.name = "SmallerThanTheGridIsStillOne", .width = 300, .height = 200, .factor = 1},
    {.name = "OnePixelShortOfTwice", .width = 1279, .height = 960, .factor = 1},
    {.name = "ExactlyTwice", .width = 1280, .height = 960, .factor = 2},
    {.name = "HeightDecides", .width = 2000, .height = 1000, .factor = 2},
    {.name = "WidthDecides", .width = 1300, .height = 3000, .factor = 2},
    {.name = "LargeScreen", .width = 2600, .height = 1950, .factor = 4},
    {.name = "NothingAtAll", .width = 0, .height = 0, .factor = 1},
};
INSTANTIATE_TEST_SUITE_P(Sizes, FitZoom, ::testing::ValuesIn(kFitRows), RowName);

TEST(Zoom, StepsBetweenTheFixedFactors) {
    EXPECT_EQ(ZoomIn(Zoom{}, 1), (Zoom{.factor = 2}));
    EXPECT_EQ(ZoomIn(Zoom{.factor = 2}, 2), (Zoom{.factor = 3}));
    EXPECT_EQ(ZoomIn(Zoom{.factor = 3}, 3), (Zoom{.factor = 3}));
    EXPECT_EQ(ZoomOut(3), (Zoom{.factor = 2}));
    EXPECT_EQ(ZoomOut(1), (Zoom{.factor = 1}));
    // From a fitted factor: in from 2 is a fixed 3; a fitted 4 stays; out from 4 is 3.
    EXPECT_EQ(ZoomIn(Zoom{.fit = true}, 2), (Zoom{.factor = 3}));
    EXPECT_EQ(ZoomIn(Zoom{.fit = true}, 4), (Zoom{.fit = true}));
    EXPECT_EQ(ZoomOut(4), (Zoom{.factor = 3}));
}

TEST(Zoom, ShownFactorOfFitFollowsTheRoom) {
    EXPECT_EQ(ShownZoomFactor(Zoom{.fit = true}, 1920, 1440), 3);
    EXPECT_EQ(ShownZoomFactor(Zoom{.factor = 2}, 640, 480), 2);
}

TEST(Zoom, EveryChoiceRoundTripsAndAnythingElseReadsAsOneTimes) {
    for (Zoom zoom : {Zoom{.factor = 1}, Zoom{.factor = 2}, Zoom{.factor = 3}, Zoom{.fit = true}})
        EXPECT_EQ(ParseZoom(FormatZoom(zoom)), zoom) << FormatZoom(zoom).toStdString();
    for (const char* text : {"", "0", "4", "huge"})
        EXPECT_EQ(ParseZoom(QString::fromLatin1(text)), Zoom{}) << text;
}

// ---- recent projects and the remembered folder ------------------------------------------

TEST(RecentProjects, MostRecentFirstWithoutDuplicatesAndAtMostEight) {
    QStringList recent;
    for (int i = 1; i <= 10; ++i)
        recent = WithRecentProject(recent, QStringLiteral("/p%1.stp").arg(i));
    ASSERT_EQ(recent.size(), kMaxRecentProjects);
    EXPECT_EQ(recent.first(), "/p10.stp");
    EXPECT_EQ(recent.last(), "/p3.stp");
    recent = WithRecentProject(recent, QStringLiteral("/p5.stp"));
    EXPECT_EQ(recent.size(), kMaxRecentProjects);
    EXPECT_EQ(recent.first(), "/p5.stp");
    EXPECT_EQ(recent.count(QStringLiteral("/p5.stp")), 1);
}

TEST(EditorSettingsFile, EverythingIsThereForTheNextSession) {
    ScratchFolder dir;
    const QString file = QString::fromStdString(dir.file("tessel.ini"));
    {
        EditorSettings settings(file);
        EXPECT_EQ(settings.zoom(), Zoom{});
        EXPECT_TRUE(settings.recentProjects().isEmpty());
        EXPECT_TRUE(settings.lastFolder().isEmpty());
        EXPECT_FALSE(settings.renumberNoticeOptedOut());
        settings.setZoom(Zoom{.fit = true});
        settings.addRecentProject(QStringLiteral("/a/A.stp"));
        settings.addRecentProject(QStringLiteral("/b/B.stp"));
        settings.removeRecentProject(QStringLiteral("/a/A.stp"));
        settings.addRecentProject(QStringLiteral("/c/C.stp"));
        settings.setLastFolder(QStringLiteral("/c"));
        settings.optOutOfRenumberNotice();
    }
    EditorSettings next(file);
    EXPECT_EQ(next.zoom(), Zoom{.fit = true});
    EXPECT_EQ(next.recentProjects(), (QStringList{"/c/C.stp", "/b/B.stp"}));
    EXPECT_EQ(next.lastFolder(), "/c");
    EXPECT_TRUE(next.renumberNoticeOptedOut());
}

TEST(EditorSettingsFile, InMemorySettingsRememberForTheirOwnLife) {
    auto settings = EditorSettings::InMemory();
    settings->setZoom(Zoom{.factor = 2});
    settings->addRecentProject(QStringLiteral("/a/A.stp"));
    EXPECT_EQ(settings->zoom(), Zoom{.factor = 2});
    EXPECT_EQ(settings->recentProjects(), QStringList{"/a/A.stp"});
    EXPECT_TRUE(EditorSettings::InMemory()->recentProjects().isEmpty());
}

// ---- command line ------------------------------------------------------------------------

using Action = TesselCommandLine::Action;

struct CommandLineRow {
    const char* name;
    std::vector<std::string> arguments{};
    Action action = Action::Run;
    std::string project{};
};

class CommandLine : public ::testing::TestWithParam<CommandLineRow> {};

TEST_P(CommandLine, SaysWhatToDo) {
    const auto& row = GetParam();
    const TesselCommandLine line = ParseTesselCommandLine(row.arguments);
    EXPECT_EQ(line.action, row.action);
    EXPECT_EQ(line.project, row.project);
    EXPECT_EQ(line.error.empty(), row.action != Action::Error) << line.error;
}

const CommandLineRow kCommandLineRows[] = {
    {.name = "NothingOpensAnEmptyWindow"},
    {.name = "AProjectFileIsOpened", .arguments = {"Spring.stp"}, .project = "Spring.stp"},
    {.name = "Help", .arguments = {"--help"}, .action = Action::Help},
    {.name = "ShortHelp", .arguments = {"-h"}, .action = Action::Help},
    {.name = "Version", .arguments = {"--version"}, .action = Action::Version},
    {.name = "HelpWinsOverAFile", .arguments = {"a.stp", "--help"}, .action = Action::Help},
    {.name = "HelpWinsOverAnUnknownOption",
     .arguments = {"-platform", "--version"},
     .action = Action::Version},
    {.name = "UnknownOption", .arguments = {"--frobnicate"}, .action = Action::Error},
    {.name = "TwoProjects", .arguments = {"a.stp", "b.stp"}, .action = Action::Error},
    {.name = "DashDashEndsTheOptions", .arguments = {"--", "--help"}, .project = "--help"},
    {.name = "ALoneDashIsAFileName", .arguments = {"-"}, .project = "-"},
};
INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, ::testing::ValuesIn(kCommandLineRows), RowName);

TEST(CommandLineTexts, HelpNamesTheUsageAndVersionTheProgram) {
    EXPECT_NE(TesselHelpText().find("Tessel [ステージプロジェクト.stp]"), std::string::npos);
    EXPECT_NE(TesselHelpText().find("--version"), std::string::npos);
    EXPECT_EQ(TesselVersionText().rfind("Tessel (QONCreater) ", 0), 0u);
}

// ---- Details of data errors, in the program's language -------------------------------------

struct ProblemRow {
    const char* name;
    Language language = Language::Japanese;
    int line = 0;
    const char* expected = "";  // after the file's path
};

class ProblemText : public ::testing::TestWithParam<ProblemRow> {};

// The reason comes from the data library itself, made in the same language as the frame.
TEST_P(ProblemText, FramesTheLibrarysReasonInTheSameLanguage) {
    const ProblemRow& row = GetParam();
    const LanguageScope language(row.language);
    ScratchFolder dir;
    const std::string file = dir.file("Stage3.stg");
    std::string text;
    try {
        StageGrid grid{};
        ResetGrid(grid);
        if (row.line == 0) ReadStageFile(dir.file("p.stp"), 3, grid);
        ParseStageFile(FormatStageLine(grid, 0) + "\r\n", file, grid);  // one row of thirty
        ADD_FAILURE() << "nothing was thrown";
    } catch (const DataError& error) {
        text = DescribeProblem(error);
    }
    EXPECT_EQ(text,
              (row.language == Language::Japanese ? "ファイル: " : "File: ") + file + row.expected);
}

const ProblemRow kProblemRows[] = {
    {.name = "MissingFileInJapanese", .expected = "\n理由: ファイルがありません。"},
    {.name = "MissingFileInEnglish",
     .language = Language::English,
     .expected = "\nReason: the file does not exist"},
    {.name = "ShortStageInJapanese",
     .line = 2,
     .expected = "（2 行目）\n理由: ファイルが途中で終わっています。ステージの 2 行目（30 "
                 "行中）がありません。"},
    {.name = "ShortStageInEnglish",
     .language = Language::English,
     .line = 2,
     .expected = " (line 2)\nReason: the file ends early: row 2 of 30 of the stage expected"},
};
INSTANTIATE_TEST_SUITE_P(Languages, ProblemText, ::testing::ValuesIn(kProblemRows), RowName);

}  // namespace
}  // namespace qon::stage_editor
