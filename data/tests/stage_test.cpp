// SPDX-License-Identifier: MIT
#include "qon/data/stage.h"

#include <gtest/gtest.h>

#include <string>

#include "qon/data/error.h"
#include "qon/data/save_file.h"
#include "temp_folder.h"

namespace qon {
namespace {

// Table rows print as their name in test listings.
template <typename Row>
requires requires(const Row& row) {
    row.name;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

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

void writeProjectFile(const TempFolder& folder, const std::string& count) {
    WriteBytes(folder.file("p.stp"), "Name\r\n" + count + "\r\nStaff\r\n");
}

TEST(data_StageProject, RoundTripOfTwelveStagesWithJapaneseNames) {
    TempFolder folder;
    const std::string projectPath = folder.file("Spring.stp");
    StageProject project;
    project.projectName = "春の①ステージ～ｽﾃｰｼﾞ, \"quoted\"";
    project.staffName = " 作者ｻｸｼｬ";
    for (int stage = 1; stage <= 12; ++stage) {
        project.stages.push_back(patternedStage(stage));
    }
    WriteStageProject(projectPath, project);

    EXPECT_TRUE(test::Exists(folder.file("Stage10.stg")));
    EXPECT_TRUE(test::Exists(folder.file("Stage12.stg")));
    EXPECT_FALSE(test::Exists(folder.file("Stage012.stg")));
    EXPECT_EQ(ReadBytes(folder.file("qonsave.sav")), " 1 \r\n 1 \r\n 1 \r\n 1 \r\n");

    const StageProject read = ReadStageProject(projectPath);
    EXPECT_EQ(read.projectName, project.projectName);
    EXPECT_EQ(read.staffName, project.staffName);
    ASSERT_EQ(read.stages.size(), 12u);
    for (int stage = 0; stage < 12; ++stage) {
        for (int i = 0; i < kGridCells; ++i) {
            ASSERT_EQ(read.stages[stage][i].Kind, project.stages[stage][i].Kind)
                << "stage " << stage + 1 << " cell " << i;
        }
    }

    const StageProjectHeader header = ReadStageProjectHeader(projectPath);
    EXPECT_EQ(header.StageCount, 12);
    EXPECT_EQ(header.stageStaff, project.staffName);

    // The game derives hit points and life from the same kinds.
    StageGrid game;
    ResetGrid(game);
    ReadStageFile(projectPath, 11, game);
    for (int i = 0; i < kGridCells; ++i) {
        const std::int16_t kind = project.stages[10][i].Kind;
        ASSERT_EQ(game[i].Kind, kind) << i;
        EXPECT_EQ(game[i].HitPoints, kind <= 8 ? kind + 1 : 1) << i;
        EXPECT_EQ(game[i].Alive, kind == 255 ? kFalse : kTrue) << i;
    }
}

TEST(data_StageProject, WrittenFilesAreCp932WithCrLfAndUpperCaseHex) {
    TempFolder folder;
    StageProject project;
    project.projectName = "①";
    StageGrid grid;
    ResetEditorGrid(grid);
    grid[0].Kind = 8;
    grid[1].Kind = 0;
    grid[2].Kind = 111;
    grid[3].Kind = 10;  // a single hex digit gets its leading zero
    project.stages.push_back(grid);
    WriteStageProject(folder.file("p.stp"), project);

    EXPECT_EQ(ReadBytes(folder.file("p.stp")), "\x87\x40\r\n1\r\nNew\r\n");
    const std::string stage = ReadBytes(folder.file("Stage1.stg"));
    EXPECT_EQ(stage.substr(0, 26), "08006F0AFFFFFFFFFFFFFFFF\r\n");
    EXPECT_EQ(stage.size(), 26u * kGridRows);
}

TEST(data_StageProject, StageFilesAboveTheCountAreLeftAlone) {
    TempFolder folder;
    WriteBytes(folder.file("Stage3.stg"), "keep me");
    StageProject project;
    project.stages.assign(2, patternedStage(1));
    WriteStageProject(folder.file("p.stp"), project);
    EXPECT_EQ(ReadBytes(folder.file("Stage3.stg")), "keep me");
    EXPECT_EQ(ReadStageProjectHeader(folder.file("p.stp")).StageCount, 2);
}

TEST(data_StageProject, RefusedNameWritesNothing) {
    TempFolder folder;
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
    EXPECT_EQ(test::ListFolder(folder.path()), "");
}

TEST(data_StageProject, ProjectWithoutStagesIsRefused) {
    TempFolder folder;
    StageProject project;
    EXPECT_THROW(WriteStageProject(folder.file("p.stp"), project), DataError);
    EXPECT_EQ(test::ListFolder(folder.path()), "");
}

TEST(data_StageProject, CountOfOneReadsOnlyStageOne) {
    TempFolder folder;
    writeProjectFile(folder, "1");
    WriteBytes(folder.file("Stage1.stg"), stageFileBytes("FFFFFFFFFFFFFFFFFFFFFFFF"));
    EXPECT_EQ(ReadStageProject(folder.file("p.stp")).stages.size(), 1u);
}

TEST(data_StageProject, HugeCountFailsAtTheFirstMissingStageFile) {
    TempFolder folder;
    writeProjectFile(folder, "32767");
    WriteBytes(folder.file("Stage1.stg"), stageFileBytes("000000000000000000000000"));
    try {
        ReadStageProject(folder.file("p.stp"));
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file("Stage2.stg"));
        EXPECT_NE(error.reason().find("does not exist"), std::string::npos);
    }
}

TEST(data_StageProject, BareLfFilesReadLikeCrLf) {
    TempFolder folder;
    WriteBytes(folder.file("p.stp"), "Name\n2\nStaff");
    std::string stage;
    for (int row = 0; row < kGridRows; ++row) {
        stage += "0102030405060708656F6aFF\n";
    }
    WriteBytes(folder.file("Stage2.stg"), stage);
    StageGrid grid;
    ResetGrid(grid);
    ReadStageFile(folder.file("p.stp"), 2, grid);
    EXPECT_EQ(grid[kGridCells - 1].Kind, 255);
    EXPECT_EQ(grid[kGridCells - 2].Kind, 106);
    EXPECT_EQ(ReadStageProjectHeader(folder.file("p.stp")).stageStaff, "Staff");
}

// ---- cells: one stage line read by the game and by the editor ---------------------

struct CellCase {
    const char* name;
    std::string line;
    int column;
    std::int16_t gameKind;
    std::int16_t editorKind;
    std::int16_t hitPoints;
    std::int16_t alive;
};

class StageCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(StageCells, GameAndEditorReadTheCell) {
    const CellCase& c = GetParam();
    TempFolder folder;
    writeProjectFile(folder, "1");
    WriteBytes(folder.file("Stage1.stg"), stageFileBytes(c.line));

    StageGrid game;
    ResetGrid(game);
    ReadStageFile(folder.file("p.stp"), 1, game);
    const BlockCell& cell = game[5 * kGridColumns + c.column];
    EXPECT_EQ(cell.Kind, c.gameKind);
    EXPECT_EQ(cell.HitPoints, c.hitPoints);
    EXPECT_EQ(cell.Alive, c.alive);

    const StageProject project = ReadStageProject(folder.file("p.stp"));
    EXPECT_EQ(project.stages[0][5 * kGridColumns + c.column].Kind, c.editorKind);
}

INSTANTIATE_TEST_SUITE_P(
    data, StageCells,
    ::testing::Values(
        CellCase{"UpperCaseEmpty", "FFFFFFFFFFFFFFFFFFFFFFFF", 4, 255, 255, 1, kFalse},
        CellCase{"LowerCaseEmpty", "ffffffffffffffffffffffff", 4, 255, 255, 1, kFalse},
        CellCase{"ZeroIsAOneHitBlock", "00FFFFFFFFFFFFFFFFFFFFFF", 0, 0, 0, 1, kTrue},
        CellCase{"UnbreakableHasNineHitPoints", "FF08FFFFFFFFFFFFFFFFFFFF", 1, 8, 8, 9, kTrue},
        CellCase{"NormalSevenHasEightHitPoints", "FFFF07FFFFFFFFFFFFFFFFFF", 2, 7, 7, 8, kTrue},
        CellCase{"LowerCaseSpecial", "FFFFFFFFFFFFFFFFFFFFFF6f", 11, 111, 111, 1, kTrue},
        CellCase{"KindOutsideTableIsEmptyInGameKeptInEditor", "FF0AFFFFFFFFFFFFFFFFFFFF", 1, 255,
                 10, 1, kFalse},
        CellCase{"KindHundredOutsideTable", "FF64FFFFFFFFFFFFFFFFFFFF", 1, 255, 100, 1, kFalse},
        CellCase{"CellPastShortLineIsKindZero", "FFFF", 6, 0, 0, 1, kTrue},
        CellCase{"HalfCellOnShortLineOutsideTable", "FFFFF", 2, 255, 15, 1, kFalse},
        CellCase{"EmptyLineIsAllKindZero", "", 11, 0, 0, 1, kTrue},
        CellCase{"CharactersAfterTheTwentyFourthIgnored", "FFFFFFFFFFFFFFFFFFFFFF0800000000", 11, 8,
                 8, 9, kTrue},
        CellCase{"NonHexCellIsKindZero", "FFg1FFFFFFFFFFFFFFFFFFFF", 1, 0, 0, 1, kTrue},
        CellCase{"JapaneseCharacterCountsAsOneCharacter",
                 "\x83\x75"
                 "808FFFFFFFFFFFFFFFFFFFF",
                 1, 8, 8, 9, kTrue}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- failures ------------------------------------------------------------------

struct HeaderFailureCase {
    const char* name;
    std::string bytes;  // empty name: no file at all
    int line;
    const char* reasonPart;
};

class StageHeaderFailures : public ::testing::TestWithParam<HeaderFailureCase> {};

TEST_P(StageHeaderFailures, BothReadersNameLineAndReason) {
    const HeaderFailureCase& c = GetParam();
    TempFolder folder;
    if (c.line >= 0) {
        WriteBytes(folder.file("p.stp"), c.bytes);
    }
    WriteBytes(folder.file("Stage1.stg"), stageFileBytes("000000000000000000000000"));
    for (int reader = 0; reader < 2; ++reader) {
        try {
            if (reader == 0) {
                ReadStageProjectHeader(folder.file("p.stp"));
            } else {
                ReadStageProject(folder.file("p.stp"));
            }
            FAIL() << "reader " << reader << " accepted";
        } catch (const DataError& error) {
            EXPECT_EQ(error.file(), folder.file("p.stp"));
            EXPECT_EQ(error.line(), std::max(c.line, 0));
            EXPECT_NE(error.reason().find(c.reasonPart), std::string::npos) << error.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    data, StageHeaderFailures,
    ::testing::Values(
        HeaderFailureCase{"MissingFile", "", -1, "does not exist"},
        HeaderFailureCase{"EmptyFile", "", 1, "ends early: the project name"},
        HeaderFailureCase{"EndsAfterName", "Name\r\n", 2, "ends early: the stage count"},
        HeaderFailureCase{"EndsAfterCount", "Name\r\n3\r\n", 3, "ends early: the staff name"},
        HeaderFailureCase{"CountNotANumber", "Name\r\nabc\r\nStaff\r\n", 2,
                          "the stage count \"abc\" is not a whole number from 1 to 32767"},
        HeaderFailureCase{"CountZero", "Name\r\n0\r\nStaff\r\n", 2, "\"0\""},
        HeaderFailureCase{"CountNegative", "Name\r\n-2\r\nStaff\r\n", 2, "\"-2\""},
        HeaderFailureCase{"CountBeyondSixteenBits", "Name\r\n40000\r\nStaff\r\n", 2, "\"40000\""},
        HeaderFailureCase{"InvalidCp932InName", "N\x81\r\n1\r\nStaff\r\n", 1, "Shift-JIS"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(data_StageFile, ShortFileNamesTheMissingRowAndLeavesTheGridAlone) {
    TempFolder folder;
    writeProjectFile(folder, "3");
    WriteBytes(folder.file("Stage3.stg"), stageFileBytes("000000000000000000000000", 29));
    StageGrid grid;
    ResetGrid(grid);
    const StageGrid before = grid;
    try {
        ReadStageFile(folder.file("p.stp"), 3, grid);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file("Stage3.stg"));
        EXPECT_EQ(error.line(), 30);
        EXPECT_STREQ(error.what(), (folder.file("Stage3.stg") +
                                    ", line 30: the file ends early: row 30 of 30 of the stage "
                                    "expected")
                                       .c_str());
    }
    for (int i = 0; i < kGridCells; ++i) {
        ASSERT_EQ(grid[i].Kind, before[i].Kind);
        ASSERT_EQ(grid[i].Alive, before[i].Alive);
    }
}

TEST(data_StageFile, MissingStageFileIsNamed) {
    TempFolder folder;
    writeProjectFile(folder, "3");
    StageGrid grid;
    ResetGrid(grid);
    try {
        ReadStageFile(folder.file("p.stp"), 10, grid);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file("Stage10.stg"));
    }
}

TEST(data_StageFile, PathUsesTheProjectFolderAndNoLeadingZeros) {
    EXPECT_EQ(StageFilePath("/d/Blocks/Spring.stp", 12), "/d/Blocks/Stage12.stg");
    EXPECT_EQ(StageFilePath("/d/Blocks/Spring.stp", 1), "/d/Blocks/Stage1.stg");
    EXPECT_THROW(StageFilePath("Spring.stp", 1), DataError);
}

}  // namespace
}  // namespace qon
