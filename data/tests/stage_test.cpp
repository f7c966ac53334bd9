// SPDX-License-Identifier: MIT
#include "qon/data/stage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "memory_files.h"
#include "qon/data/error.h"
#include "qon/data/save_file.h"
#include "qon/data/text.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test::MemoryFiles;
using test_support::ListFolder;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

// Paths of the in-memory files; only their folder and names matter.
const std::string kProject = "/mem/p.stp";

constexpr std::int16_t kTableKinds[] = {0,   1,   2,   3,   4,   5,   6,   7,   8,   101, 102,
                                        103, 104, 105, 106, 107, 108, 109, 110, 111, 255};

// Stage n gets a pattern of its own so that a stage read from the wrong file shows.
StageGrid patternedStage(int stageNumber) {
    StageGrid grid;
    ResetEditorGrid(grid);
    constexpr int kKindCount = sizeof kTableKinds / sizeof kTableKinds[0];
    for (int i = 0; i < kGridCells; ++i) {
        grid[i].Kind = kTableKinds[(i + stageNumber * 7) % kKindCount];
    }
    return grid;
}

std::string stageFileBytes(const std::string& line, int rows = kGridRows) {
    std::string bytes;
    for (int row = 0; row < rows; ++row) {
        bytes += line + "\r\n";
    }
    return bytes;
}

std::string projectFileBytes(const std::string& count) {
    return "Name\r\n" + count + "\r\nStaff\r\n";
}

TEST(data_StageProject, RoundTripOfTwelveStagesWithJapaneseNames) {
    const std::string projectPath = "/mem/Spring.stp";
    StageProject project;
    project.projectName = "春の①ステージ～ｽﾃｰｼﾞ, \"quoted\"";
    project.staffName = " 作者ｻｸｼｬ";
    for (int stage = 1; stage <= 12; ++stage) {
        project.stages.push_back(patternedStage(stage));
    }
    MemoryFiles files;
    files.add(FormatStageProjectFiles(projectPath, project));

    EXPECT_TRUE(files.has("/mem/Stage10.stg"));
    EXPECT_TRUE(files.has("/mem/Stage12.stg"));
    EXPECT_FALSE(files.has("/mem/Stage012.stg"));
    EXPECT_EQ(files.at("/mem/qonsave.sav"), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");

    const StageProject read = ReadStageProject(projectPath, files.source());
    EXPECT_EQ(read.projectName, project.projectName);
    EXPECT_EQ(read.staffName, project.staffName);
    ASSERT_EQ(read.stages.size(), 12u);
    for (int stage = 0; stage < 12; ++stage) {
        for (int i = 0; i < kGridCells; ++i) {
            ASSERT_EQ(read.stages[stage][i].Kind, project.stages[stage][i].Kind)
                << "stage " << stage + 1 << " cell " << i;
        }
    }

    const StageProjectHeader header = ParseStageProjectHeader(files.at(projectPath), projectPath);
    EXPECT_EQ(header.StageCount, 12);
    EXPECT_EQ(header.stageStaff, project.staffName);

    // The game derives hit points and life from the same kinds.
    StageGrid game;
    ResetGrid(game);
    ParseStageFile(files.at("/mem/Stage11.stg"), "/mem/Stage11.stg", game);
    for (int i = 0; i < kGridCells; ++i) {
        const std::int16_t kind = project.stages[10][i].Kind;
        ASSERT_EQ(game[i].Kind, kind) << i;
        EXPECT_EQ(game[i].HitPoints, kind <= 8 ? kind + 1 : 1) << i;
        EXPECT_EQ(game[i].Alive, kind == 255 ? kFalse : kTrue) << i;
    }
}

TEST(data_StageProject, WrittenFilesAreCp932WithCrLfAndUpperCaseHex) {
    StageProject project;
    project.projectName = "①";
    StageGrid grid;
    ResetEditorGrid(grid);
    grid[0].Kind = 8;
    grid[1].Kind = 0;
    grid[2].Kind = 111;
    grid[3].Kind = 10;  // a single hex digit gets its leading zero
    project.stages.push_back(grid);
    MemoryFiles files;
    files.add(FormatStageProjectFiles(kProject, project));

    EXPECT_EQ(files.at(kProject), "\x87\x40\r\n1\r\nNew\r\n");
    const std::string stage = files.at("/mem/Stage1.stg");
    EXPECT_EQ(stage.substr(0, 26), "08006F0AFFFFFFFFFFFFFFFF\r\n");
    EXPECT_EQ(stage.size(), 26u * kGridRows);
}

TEST(data_StageProject, FilesAreWrittenStagesFirstThenProjectThenSave) {
    StageProject project;
    project.stages.assign(3, patternedStage(1));
    std::vector<std::string> order;
    for (const FileBytes& file : FormatStageProjectFiles(kProject, project)) {
        order.push_back(file.path);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"/mem/Stage1.stg", "/mem/Stage2.stg",
                                               "/mem/Stage3.stg", kProject, "/mem/qonsave.sav"}));
}

TEST(data_StageProject, StageFilesAboveTheCountAreLeftAlone) {
    ScratchFolder folder;
    WriteBytes(folder.file("Stage3.stg"), "keep me");
    StageProject project;
    project.stages.assign(2, patternedStage(1));
    WriteStageProject(folder.file("p.stp"), project);
    EXPECT_EQ(ReadBytes(folder.file("Stage3.stg")), "keep me");
    EXPECT_EQ(ReadStageProjectHeader(folder.file("p.stp")).StageCount, 2);
}

TEST(data_StageProject, RefusedNameWritesNothing) {
    ScratchFolder folder;
    StageProject project;
    project.staffName = "絵文字😀";
    project.stages.push_back(patternedStage(1));
    try {
        WriteStageProject(folder.file("p.stp"), project);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_NE(error.reason().find("Shift-JIS"), std::string::npos);
    }
    EXPECT_EQ(ListFolder(folder.path()), "");
}

TEST(data_StageProject, ProjectWithoutStagesIsRefused) {
    ScratchFolder folder;
    StageProject project;
    EXPECT_THROW(WriteStageProject(folder.file("p.stp"), project), DataError);
    EXPECT_EQ(ListFolder(folder.path()), "");
}

TEST(data_StageProject, ProjectFileOfNoStagesIsRefusedByName) {
    try {
        FormatStageProjectFile(StageProject{}, kProject);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), kProject);
        EXPECT_EQ(error.reason(), "a stage project holds 1 to 32767 stages, not 0");
    }
}

TEST(data_StageProject, CountOfOneReadsOnlyStageOne) {
    MemoryFiles files;
    files.add(kProject, projectFileBytes("1"));
    files.add("/mem/Stage1.stg", stageFileBytes("FFFFFFFFFFFFFFFFFFFFFFFF"));
    EXPECT_EQ(ReadStageProject(kProject, files.source()).stages.size(), 1u);
}

TEST(data_StageProject, HugeCountFailsAtTheFirstMissingStageFile) {
    MemoryFiles files;
    files.add(kProject, projectFileBytes("32767"));
    files.add("/mem/Stage1.stg", stageFileBytes("000000000000000000000000"));
    try {
        ReadStageProject(kProject, files.source());
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), "/mem/Stage2.stg");
        EXPECT_NE(error.reason().find("does not exist"), std::string::npos);
    }
}

TEST(data_StageProject, BareLfFilesReadLikeCrLf) {
    std::string stage;
    for (int row = 0; row < kGridRows; ++row) {
        stage += "0102030405060708656F6aFF\n";
    }
    StageGrid grid;
    ResetGrid(grid);
    ParseStageFile(stage, "/mem/Stage2.stg", grid);
    EXPECT_EQ(grid[kGridCells - 1].Kind, 255);
    EXPECT_EQ(grid[kGridCells - 2].Kind, 106);
    EXPECT_EQ(ParseStageProjectHeader("Name\n2\nStaff", kProject).stageStaff, "Staff");
}

// ---- cells: one stage line read by the game and by the editor ---------------------

struct CellRow {
    const char* name;
    std::string line;  // every row of the stage file
    int column = 0;    // the cell looked at, in row 5
    std::int16_t gameKind = 0;
    std::int16_t editorKind = 0;
    std::int16_t hitPoints = 1;
    std::int16_t alive = kTrue;
};

class StageCells : public ::testing::TestWithParam<CellRow> {};

TEST_P(StageCells, GameAndEditorReadTheCell) {
    const CellRow& row = GetParam();
    const std::string bytes = stageFileBytes(row.line);

    StageGrid game;
    ResetGrid(game);
    ParseStageFile(bytes, "/mem/Stage1.stg", game);
    const BlockCell& cell = game[5 * kGridColumns + row.column];
    EXPECT_EQ(cell.Kind, row.gameKind);
    EXPECT_EQ(cell.HitPoints, row.hitPoints);
    EXPECT_EQ(cell.Alive, row.alive);

    const StageGrid editor = ParseStageFileForEditing(bytes, "/mem/Stage1.stg");
    EXPECT_EQ(editor[5 * kGridColumns + row.column].Kind, row.editorKind);
}

const CellRow kCellRows[] = {
    {.name = "UpperCaseEmpty",
     .line = "FFFFFFFFFFFFFFFFFFFFFFFF",
     .column = 4,
     .gameKind = 255,
     .editorKind = 255,
     .alive = kFalse},
    {.name = "LowerCaseEmpty",
     .line = "ffffffffffffffffffffffff",
     .column = 4,
     .gameKind = 255,
     .editorKind = 255,
     .alive = kFalse},
    {.name = "ZeroIsAOneHitBlock", .line = "00FFFFFFFFFFFFFFFFFFFFFF", .column = 0},
    {.name = "UnbreakableHasNineHitPoints",
     .line = "FF08FFFFFFFFFFFFFFFFFFFF",
     .column = 1,
     .gameKind = 8,
     .editorKind = 8,
     .hitPoints = 9},
    {.name = "NormalSevenHasEightHitPoints",
     .line = "FFFF07FFFFFFFFFFFFFFFFFF",
     .column = 2,
     .gameKind = 7,
     .editorKind = 7,
     .hitPoints = 8},
    {.name = "LowerCaseSpecial",
     .line = "FFFFFFFFFFFFFFFFFFFFFF6f",
     .column = 11,
     .gameKind = 111,
     .editorKind = 111},
    {.name = "KindOutsideTableIsEmptyInGameKeptInEditor",
     .line = "FF0AFFFFFFFFFFFFFFFFFFFF",
     .column = 1,
     .gameKind = 255,
     .editorKind = 10,
     .alive = kFalse},
    {.name = "KindHundredOutsideTable",
     .line = "FF64FFFFFFFFFFFFFFFFFFFF",
     .column = 1,
     .gameKind = 255,
     .editorKind = 100,
     .alive = kFalse},
    {.name = "CellPastShortLineIsKindZero", .line = "FFFF", .column = 6},
    {.name = "HalfCellOnShortLineOutsideTable",
     .line = "FFFFF",
     .column = 2,
     .gameKind = 255,
     .editorKind = 15,
     .alive = kFalse},
    {.name = "EmptyLineIsAllKindZero", .line = "", .column = 11},
    {.name = "CharactersAfterTheTwentyFourthIgnored",
     .line = "FFFFFFFFFFFFFFFFFFFFFF0800000000",
     .column = 11,
     .gameKind = 8,
     .editorKind = 8,
     .hitPoints = 9},
    {.name = "NonHexCellIsKindZero", .line = "FFg1FFFFFFFFFFFFFFFFFFFF", .column = 1},
    {.name = "JapaneseCharacterCountsAsOneCharacter",
     .line = "\x83\x75"
             "808FFFFFFFFFFFFFFFFFFFF",
     .column = 1,
     .gameKind = 8,
     .editorKind = 8,
     .hitPoints = 9},
};

INSTANTIATE_TEST_SUITE_P(data, StageCells, ::testing::ValuesIn(kCellRows), RowName);

// ---- failures ------------------------------------------------------------------

struct HeaderFailureRow {
    const char* name;
    std::string bytes;
    int line = 0;
    const char* reasonPart = "";
};

class StageHeaderFailures : public ::testing::TestWithParam<HeaderFailureRow> {};

TEST_P(StageHeaderFailures, BothReadersNameLineAndReason) {
    const HeaderFailureRow& row = GetParam();
    MemoryFiles files;
    files.add(kProject, row.bytes);
    files.add("/mem/Stage1.stg", stageFileBytes("000000000000000000000000"));
    for (int reader = 0; reader < 2; ++reader) {
        try {
            if (reader == 0) {
                ParseStageProjectHeader(row.bytes, kProject);
            } else {
                ReadStageProject(kProject, files.source());
            }
            FAIL() << "reader " << reader << " accepted";
        } catch (const DataError& error) {
            EXPECT_EQ(error.file(), kProject);
            EXPECT_EQ(error.line(), row.line);
            EXPECT_NE(error.reason().find(row.reasonPart), std::string::npos) << error.what();
        }
    }
}

const HeaderFailureRow kHeaderFailureRows[] = {
    {.name = "EmptyFile", .bytes = "", .line = 1, .reasonPart = "ends early: the project name"},
    {.name = "EndsAfterName",
     .bytes = "Name\r\n",
     .line = 2,
     .reasonPart = "ends early: the stage count"},
    {.name = "EndsAfterCount",
     .bytes = "Name\r\n3\r\n",
     .line = 3,
     .reasonPart = "ends early: the staff name"},
    {.name = "CountNotANumber",
     .bytes = "Name\r\nabc\r\nStaff\r\n",
     .line = 2,
     .reasonPart = "the stage count \"abc\" is not a whole number from 1 to 32767"},
    {.name = "CountZero", .bytes = "Name\r\n0\r\nStaff\r\n", .line = 2, .reasonPart = "\"0\""},
    {.name = "CountNegative",
     .bytes = "Name\r\n-2\r\nStaff\r\n",
     .line = 2,
     .reasonPart = "\"-2\""},
    {.name = "CountBeyondSixteenBits",
     .bytes = "Name\r\n40000\r\nStaff\r\n",
     .line = 2,
     .reasonPart = "\"40000\""},
    {.name = "InvalidCp932InName",
     .bytes = "N\x81\r\n1\r\nStaff\r\n",
     .line = 1,
     .reasonPart = "Shift-JIS"},
};

INSTANTIATE_TEST_SUITE_P(data, StageHeaderFailures, ::testing::ValuesIn(kHeaderFailureRows),
                         RowName);

TEST(data_StageFile, ShortFileNamesTheMissingRowAndLeavesTheGridAlone) {
    const std::string path = "/mem/Stage3.stg";
    StageGrid grid;
    ResetGrid(grid);
    const StageGrid before = grid;
    try {
        ParseStageFile(stageFileBytes("000000000000000000000000", 29), path, grid);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.line(), 30);
        EXPECT_STREQ(
            error.what(),
            ("\"" + path + "\", line 30: the file ends early: row 30 of 30 of the stage expected")
                .c_str());
    }
    for (int i = 0; i < kGridCells; ++i) {
        ASSERT_EQ(grid[i].Kind, before[i].Kind);
        ASSERT_EQ(grid[i].Alive, before[i].Alive);
    }
}

TEST(data_StageFile, EditorReadingOfAShortFileNamesTheMissingRow) {
    try {
        ParseStageFileForEditing(stageFileBytes("FF", 12), "/mem/Stage1.stg");
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), 13);
        EXPECT_EQ(error.reason(), "the file ends early: row 13 of 30 of the stage expected");
    }
}

TEST(data_StageFile, WrittenStageReadsBackInBothGeometries) {
    const StageGrid written = patternedStage(4);
    const std::vector<std::string> lines = FormatStageFile(written);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kGridRows));
    const std::string bytes = FormatLines(lines, "/mem/Stage1.stg");
    const StageGrid editor = ParseStageFileForEditing(bytes, "/mem/Stage1.stg");
    StageGrid game;
    ResetGrid(game);
    ParseStageFile(bytes, "/mem/Stage1.stg", game);
    for (int i = 0; i < kGridCells; ++i) {
        ASSERT_EQ(editor[i].Kind, written[i].Kind) << i;
        ASSERT_EQ(editor[i].Y, written[i].Y) << "editor geometry " << i;
        ASSERT_EQ(game[i].Kind, written[i].Kind) << i;
        ASSERT_EQ(game[i].Y, written[i].Y + 30) << "game geometry " << i;
    }
}

TEST(data_StageFile, PathUsesTheProjectFolderAndNoLeadingZeros) {
    EXPECT_EQ(StageFilePath("/d/Blocks/Spring.stp", 12), "/d/Blocks/Stage12.stg");
    EXPECT_EQ(StageFilePath("/d/Blocks/Spring.stp", 1), "/d/Blocks/Stage1.stg");
    EXPECT_THROW(StageFilePath("Spring.stp", 1), DataError);
}

}  // namespace
}  // namespace qon
