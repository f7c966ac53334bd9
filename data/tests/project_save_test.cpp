// SPDX-License-Identifier: MIT
// Saving a stage project as one: failures and cancels at every step leave the old project,
// an interrupted swap is finished by whoever reads the project next, and nothing that
// merely looks like a save's leftover is ever touched.
#include "qon/data/project_save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/save_file.h"
#include "qon/data/testing/step_operations.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using data_testing::FailStep;
using data_testing::StepOperations;
using test_support::Exists;
using test_support::ListFolder;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

namespace fs = std::filesystem;

// Every entry of a folder and what it holds; sub-folders are listed with their content.
using Snapshot = std::map<std::string, std::string>;

Snapshot TakeSnapshot(const std::string& folder) {
    Snapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        if (entry.is_symlink()) {
            snapshot[name] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
        } else if (entry.is_directory()) {
            snapshot[name] = "<folder>";
        } else {
            snapshot[name] = ReadBytes(entry.path().string());
        }
    }
    return snapshot;
}

StageProject Project(const std::string& name, int stages, int seed) {
    StageProject project;
    project.projectName = name;
    project.staffName = name + " staff";
    project.stages.resize(static_cast<std::size_t>(stages));
    for (int stage = 0; stage < stages; ++stage) {
        StageGrid& grid = project.stages[static_cast<std::size_t>(stage)];
        ResetEditorGrid(grid);
        grid[static_cast<std::size_t>((seed * 7 + stage) % kGridCells)].Kind =
            static_cast<std::int16_t>((seed + stage) % 9);
    }
    return project;
}

// A folder as a player leaves it: an old project of three stages, progress in the save
// file, a stage file above the count and a file of the player's own.
std::string MakeOldFolder(const ScratchFolder& scratch) {
    const std::string path = scratch.file("p.stp");
    WriteStageProject(path, Project("Old", 3, 1));
    WriteSaveFile(scratch.file("qonsave.sav"), {3, 2, 4, 1});
    WriteBytes(scratch.file("Stage9.stg"), "a stage file above every count\r\n");
    WriteBytes(scratch.file("notes.txt"), "mine");
    return path;
}

const StageProject kNewProject = Project("New", 5, 2);

Snapshot NewFolderSnapshot() {
    ScratchFolder scratch;
    WriteStageProject(MakeOldFolder(scratch), kNewProject);
    return TakeSnapshot(scratch.path());
}

void ExpectSameProject(const StageProject& read, const StageProject& expected) {
    EXPECT_EQ(read.projectName, expected.projectName);
    EXPECT_EQ(read.staffName, expected.staffName);
    ASSERT_EQ(read.stages.size(), expected.stages.size());
    for (std::size_t stage = 0; stage < read.stages.size(); ++stage) {
        for (int cell = 0; cell < kGridCells; ++cell) {
            ASSERT_EQ(read.stages[stage][static_cast<std::size_t>(cell)].Kind,
                      expected.stages[stage][static_cast<std::size_t>(cell)].Kind)
                << "stage " << stage + 1 << " cell " << cell;
        }
    }
}

// ---- a failing disk at every step ---------------------------------------------------------

struct FailureRow {
    const char* name;
    // A full disk refuses every later write too, not only the one that found it full.
    bool diskStaysFull = false;
};

class SaveFailure : public ::testing::TestWithParam<FailureRow> {};

TEST_P(SaveFailure, AtEveryStepKeepsTheOldProjectOrEndsInTheNewOne) {
    const Snapshot newFolder = NewFolderSnapshot();
    int committedFailures = 0;
    for (int failing = 0;; ++failing) {
        SCOPED_TRACE("failing step " + std::to_string(failing));
        ScratchFolder scratch;
        const std::string path = MakeOldFolder(scratch);
        const Snapshot oldFolder = TakeSnapshot(scratch.path());
        StepOperations ops;
        if (GetParam().diskStaysFull) {
            ops.beforeStep = [failing](int step, std::string_view operation,
                                       const std::string& at) {
                if (step >= failing &&
                    (operation == "writeNewFile" || operation == "makeTemporaryFolder")) {
                    throw DataError(at, 0, "No space left on device");
                }
            };
        } else {
            ops.beforeStep = FailStep(failing);
        }
        bool failed = false;
        try {
            EXPECT_EQ(SaveStageProject(path, kNewProject, {}, &ops), ProjectSaveResult::Saved);
        } catch (const DataError& error) {
            failed = true;
            EXPECT_NE(error.reason().find("No space left on device"), std::string::npos)
                << error.what();
        }
        if (!ops.committed()) {
            ASSERT_TRUE(failed) << "a save that never committed claims success";
            ASSERT_EQ(TakeSnapshot(scratch.path()), oldFolder);
            continue;
        }
        committedFailures += failed ? 1 : 0;
        // Past the commit point the project is the new one for every reader, and the next
        // open leaves nothing of the save behind.
        ExpectSameProject(OpenStageProject(path), kNewProject);
        ASSERT_EQ(TakeSnapshot(scratch.path()), newFolder);
        if (ops.steps() <= failing) break;  // the whole save ran without reaching the failure
    }
    if (!GetParam().diskStaysFull) {
        EXPECT_GT(committedFailures, 0) << "no failure came after the commit point";
    }
}

const FailureRow kFailureRows[] = {
    {.name = "OneStepFails"},
    {.name = "DiskFillsUp", .diskStaysFull = true},
};
INSTANTIATE_TEST_SUITE_P(data, SaveFailure, ::testing::ValuesIn(kFailureRows), RowName);

TEST(data_ProjectSave, ReadOnlyFolderIsRefusedBeforeAnythingChanges) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    const Snapshot before = TakeSnapshot(scratch.path());
    StepOperations ops;
    ops.beforeStep = [](int, std::string_view operation, const std::string& at) {
        if (operation == "makeTemporaryFolder") throw DataError(at, 0, "Read-only file system");
    };
    try {
        SaveStageProject(path, kNewProject, {}, &ops);
        FAIL() << "saved into a read-only folder";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.reason(), "Read-only file system");
    }
    EXPECT_EQ(TakeSnapshot(scratch.path()), before);
}

// ---- progress and cancel -----------------------------------------------------------------

TEST(data_ProjectSave, ReportsEveryFileThenTheFlushThenTheSwap) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    std::vector<std::string> seen;
    const ProjectSaveResult result =
        SaveStageProject(path, Project("New", 2, 3), [&](const ProjectSaveProgress& progress) {
            static const char* kSteps[] = {"write", "sync", "swap"};
            seen.push_back(std::string(kSteps[static_cast<int>(progress.step)]) + " " +
                           std::to_string(progress.done) + "/" + std::to_string(progress.total));
            return true;
        });
    EXPECT_EQ(result, ProjectSaveResult::Saved);
    // Two stage files, the project file and the save file.
    EXPECT_EQ(seen, (std::vector<std::string>{"write 1/4", "write 2/4", "write 3/4", "write 4/4",
                                              "sync 0/1", "sync 1/1", "swap 1/4", "swap 2/4",
                                              "swap 3/4", "swap 4/4"}));
}

TEST(data_ProjectSave, CancelBeforeTheCommitKeepsTheOldProjectAtEveryReport) {
    for (int cancelAt = 0;; ++cancelAt) {
        SCOPED_TRACE("cancel at report " + std::to_string(cancelAt));
        ScratchFolder scratch;
        const std::string path = MakeOldFolder(scratch);
        const Snapshot before = TakeSnapshot(scratch.path());
        int reports = 0;
        std::optional<ProjectSaveProgress::Step> cancelledIn;
        const ProjectSaveResult result =
            SaveStageProject(path, kNewProject, [&](const ProjectSaveProgress& progress) {
                if (reports++ != cancelAt) return true;
                cancelledIn = progress.step;
                return false;
            });
        ASSERT_TRUE(cancelledIn.has_value()) << "the save made fewer reports";
        if (*cancelledIn == ProjectSaveProgress::Step::Swapping) {
            // A cancel that comes after the commit point is too late: the save completes.
            EXPECT_EQ(result, ProjectSaveResult::Saved);
            ExpectSameProject(OpenStageProject(path), kNewProject);
            break;
        }
        ASSERT_EQ(result, ProjectSaveResult::Cancelled);
        ASSERT_EQ(TakeSnapshot(scratch.path()), before);
    }
}

// ---- whoever reads next finishes an interrupted save -----------------------------------

// Saves `project` and stops where the first file would get its new bytes after the commit
// point, as a kill there would: the journal is in place, no new file is.
void InterruptAfterCommit(const std::string& path, const StageProject& project) {
    StepOperations ops;
    ops.beforeStep = [&ops](int, std::string_view operation, const std::string& at) {
        if ((operation == "renameFile" || operation == "overwriteFile") && ops.committed()) {
            throw DataError(at, 0, "Killed");
        }
    };
    try {
        SaveStageProject(path, project, {}, &ops);
    } catch (const DataError& error) {
        EXPECT_NE(error.reason().find("finished when the project is next opened"),
                  std::string::npos)
            << error.what();
        return;
    }
    ADD_FAILURE() << "the save was not interrupted";
}

struct ReaderRow {
    const char* name;
    // Reads the project as one of its readers does; returns its stage count.
    int (*read)(const std::string& path) = nullptr;
};

class NextReader : public ::testing::TestWithParam<ReaderRow> {};

TEST_P(NextReader, FinishesTheInterruptedSaveAndSeesTheNewProject) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    InterruptAfterCommit(path, kNewProject);
    ASSERT_TRUE(Exists(scratch.file(kSaveJournalName)));
    EXPECT_EQ(ReadStageProjectHeader(path).StageCount, 3) << "the swap had not begun";

    EXPECT_EQ(GetParam().read(path), 5);
    EXPECT_EQ(TakeSnapshot(scratch.path()), NewFolderSnapshot());
}

const ReaderRow kReaderRows[] = {
    {.name = "EditorOpen",
     .read =
         [](const std::string& path) {
             return static_cast<int>(OpenStageProject(path).stages.size());
         }},
    {.name = "GameStageLoading",
     .read =
         [](const std::string& path) {
             StageGrid grid;
             ResetGrid(grid);
             return static_cast<int>(ReadStageForPlay(path, 5, grid).StageCount);
         }},
    {.name = "GameLoadScreen",
     .read =
         [](const std::string& path) {
             FinishInterruptedSave(path);
             EXPECT_EQ(ReadSaveFile(SaveFilePath(path)), (SaveSlots{1, 1, 1, 1}));
             return static_cast<int>(ReadStageProjectHeader(path).StageCount);
         }},
    {.name = "NextSave",
     .read =
         [](const std::string& path) {
             WriteStageProject(path, kNewProject);
             return static_cast<int>(ReadStageProjectHeader(path).StageCount);
         }},
};
INSTANTIATE_TEST_SUITE_P(data, NextReader, ::testing::ValuesIn(kReaderRows), RowName);

TEST(data_ProjectSave, SaveThatCannotBeFinishedIsRefusedByProjectNameAndLeftForLater) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    InterruptAfterCommit(path, kNewProject);
    // Something no rename can replace stands where stage 2 goes.
    ASSERT_EQ(::rename(scratch.file("Stage2.stg").c_str(), scratch.file("kept").c_str()), 0);
    fs::create_directory(scratch.file("Stage2.stg"));
    WriteBytes(scratch.file("Stage2.stg/inside"), "x");

    StageGrid grid;
    ResetGrid(grid);
    try {
        ReadStageForPlay(path, 1, grid);
        FAIL() << "played a half-saved project";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_NE(error.reason().find("interrupted save"), std::string::npos) << error.what();
    }
    EXPECT_THROW(OpenStageProject(path), DataError);
    EXPECT_TRUE(Exists(scratch.file(kSaveJournalName))) << "the journal is still needed";

    // Once the obstacle is gone, the next reader finishes the save.
    fs::remove_all(scratch.file("Stage2.stg"));
    ExpectSameProject(OpenStageProject(path), kNewProject);
    EXPECT_FALSE(Exists(scratch.file(kSaveJournalName)));
}

TEST(data_ProjectSave, SaveKilledBeforeItsCommitIsRemovedByTheNextReader) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    const Snapshot before = TakeSnapshot(scratch.path());
    // A save killed while flushing: every new file is written, no journal exists.
    StepOperations ops;
    ops.beforeStep = [](int, std::string_view operation, const std::string& at) {
        if (operation == "syncFileSystem") throw DataError(at, 0, "Killed");
        if (operation == "removeFile" || operation == "removeFolder") {
            throw DataError(at, 0, "the killed save cannot tidy up");
        }
    };
    EXPECT_THROW(SaveStageProject(path, kNewProject, {}, &ops), DataError);
    ASSERT_NE(TakeSnapshot(scratch.path()), before) << "the private folder should be left";

    ExpectSameProject(OpenStageProject(path), Project("Old", 3, 1));
    EXPECT_EQ(TakeSnapshot(scratch.path()), before);
}

// Hand-made or damaged leftovers: a journal that is not ours is dropped, and a journal that
// names files no save writes moves none of them.
struct CraftedRow {
    const char* name;
    const char* journal = "";                 // bytes of the journal
    std::vector<std::string> privateFiles{};  // files in ".qon-save-Abc123/"
    bool refused = false;                     // the project cannot be read until mended
    std::string listedAfter{};                // the folder after an open
};

class CraftedLeftovers : public ::testing::TestWithParam<CraftedRow> {};

TEST_P(CraftedLeftovers, AreHandledWithoutTouchingAnythingElse) {
    const CraftedRow& row = GetParam();
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    WriteBytes(scratch.file(kSaveJournalName), row.journal);
    const std::string privateFolder = scratch.folder(".qon-save-Abc123");
    for (const std::string& name : row.privateFiles) WriteBytes(privateFolder + name, "crafted");
    if (row.refused) {
        EXPECT_THROW(OpenStageProject(path), DataError);
    } else {
        ExpectSameProject(OpenStageProject(path), Project("Old", 3, 1));
    }
    EXPECT_EQ(ListFolder(scratch.path()), row.listedAfter);
}

const CraftedRow kCraftedRows[] = {
    {.name = "GarbageJournalIsDropped",
     .journal = "not a journal",
     .privateFiles = {"Stage1.stg"},
     .listedAfter = "Stage1.stg Stage2.stg Stage3.stg Stage9.stg notes.txt p.stp qonsave.sav"},
    {.name = "JournalOfAnotherFolderNameIsDropped",
     .journal = "qon stage project save\r\n../elsewhere\r\np.stp\r\n0\r\n",
     .privateFiles = {"Stage1.stg"},
     .listedAfter = "Stage1.stg Stage2.stg Stage3.stg Stage9.stg notes.txt p.stp qonsave.sav"},
    {.name = "FilesNoSaveWritesStayInThePrivateFolderAndGoWithIt",
     .journal = "qon stage project save\r\n.qon-save-Abc123\r\np.stp\r\n0\r\n",
     .privateFiles = {".bashrc", "run.sh", "Stage01.stg"},
     .listedAfter = "Stage1.stg Stage2.stg Stage3.stg Stage9.stg notes.txt p.stp qonsave.sav"},
    {.name = "ProjectFileOfAnyOtherExtensionIsNotMovedFromAnotherProject",
     .journal = "qon stage project save\r\n.qon-save-Abc123\r\n.profile\r\n0\r\n",
     .privateFiles = {".profile"},
     .refused = true,
     .listedAfter = ".qon-save-Abc123 .qon-save.journal Stage1.stg Stage2.stg Stage3.stg "
                    "Stage9.stg notes.txt p.stp qonsave.sav"},
    {.name = "WriteInPlaceOfAFileNoSaveWritesIsRefused",
     .journal = "qon stage project save\r\n.qon-save-Abc123\r\np.stp\r\n1\r\nnotes.txt\t0\t7\r\n",
     .privateFiles = {"contents"},
     .refused = true,
     .listedAfter = ".qon-save-Abc123 .qon-save.journal Stage1.stg Stage2.stg Stage3.stg "
                    "Stage9.stg notes.txt p.stp qonsave.sav"},
    {.name = "WriteBeyondTheSavedBytesIsRefused",
     .journal = "qon stage project save\r\n.qon-save-Abc123\r\np.stp\r\n1\r\nStage1.stg\t3\t7\r\n",
     .privateFiles = {"contents"},
     .refused = true,
     .listedAfter = ".qon-save-Abc123 .qon-save.journal Stage1.stg Stage2.stg Stage3.stg "
                    "Stage9.stg notes.txt p.stp qonsave.sav"},
    {.name = "JournalWithAMiscountedListIsDropped",
     .journal = "qon stage project save\r\n.qon-save-Abc123\r\np.stp\r\n2\r\nStage1.stg\t0\t7\r\n",
     .privateFiles = {"contents"},
     .listedAfter = "Stage1.stg Stage2.stg Stage3.stg Stage9.stg notes.txt p.stp qonsave.sav"},
};
INSTANTIATE_TEST_SUITE_P(data, CraftedLeftovers, ::testing::ValuesIn(kCraftedRows), RowName);

TEST(data_ProjectSave, JournalNeverWritesThroughALinkAtAStageFile) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    const std::string outside = scratch.folder("outside") + "precious";
    WriteBytes(outside, "keep");
    ASSERT_EQ(::unlink(scratch.file("Stage1.stg").c_str()), 0);
    ASSERT_EQ(::symlink(outside.c_str(), scratch.file("Stage1.stg").c_str()), 0);
    WriteBytes(scratch.file(kSaveJournalName),
               "qon stage project save\r\n.qon-save-Abc123\r\np.stp\r\n1\r\nStage1.stg\t0\t7\r\n");
    WriteBytes(scratch.folder(".qon-save-Abc123") + "contents", "crafted");
    EXPECT_THROW(OpenStageProject(path), DataError);
    EXPECT_EQ(ReadBytes(outside), "keep");
}

TEST(data_ProjectSave, OnlyExactLeftoverNamesAreRemoved) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    const std::string elsewhere = scratch.folder("elsewhere");
    WriteBytes(elsewhere + "precious", "keep");
    for (const char* name : {".qon-save-Abc12", ".qon-save-Abc1234", ".qon-save-Abc12!",
                             "qon-save-Abc123", ".qon-save-Abc123.old"}) {
        WriteBytes(scratch.folder(name) + "inside", "keep");
    }
    WriteBytes(scratch.file(".qon-save-File12"), "a file, not a folder");
    ASSERT_EQ(::symlink(elsewhere.c_str(), scratch.file(".qon-save-Link12").c_str()), 0);
    WriteBytes(scratch.folder(".qon-save-Gone12") + "Stage1.stg", "left by a killed save");
    const Snapshot before = TakeSnapshot(scratch.path());

    WriteStageProject(path, kNewProject);

    Snapshot after = TakeSnapshot(scratch.path());
    EXPECT_EQ(after.count(".qon-save-Gone12"), 0u);
    for (const auto& [name, content] : before) {
        if (name.rfind(".qon-save-Gone12", 0) == 0) continue;
        if (name.rfind("Stage", 0) == 0 || name == "p.stp" || name == "qonsave.sav") continue;
        EXPECT_EQ(after[name], content) << name;
    }
}

TEST(data_ProjectSave, StaleTemporariesOfTheSavedFilesGoAndOthersStay) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    // A game killed while it wrote the save file, and look-alikes of other files.
    WriteBytes(scratch.file(".qonsave.sav.qon-Ab12Cd"), " 3 \r\n");
    WriteBytes(scratch.file(".Stage1.stg.qon-Ab12Cd"), "half");
    WriteBytes(scratch.file(".notes.txt.qon-Ab12Cd"), "not a file of the project");
    WriteBytes(scratch.file("qonsave.sav.Ab12Cd"), "someone else's name");
    WriteStageProject(path, kNewProject);
    EXPECT_EQ(ListFolder(scratch.path()),
              ".notes.txt.qon-Ab12Cd Stage1.stg Stage2.stg Stage3.stg Stage4.stg Stage5.stg "
              "Stage9.stg notes.txt p.stp qonsave.sav qonsave.sav.Ab12Cd");
}

// ---- names and permissions ----------------------------------------------------------------

TEST(data_ProjectSave, ReSaveWritesOnlyTheFilesThatChange) {
    ScratchFolder scratch;
    const std::string path = scratch.file("p.stp");
    StageProject project = Project("Same", 4, 5);
    WriteStageProject(path, project);
    WriteSaveFile(scratch.file("qonsave.sav"), {2, 1, 1, 1});

    project.stages[2][0].Kind = Kind::Bomb;
    StepOperations ops;
    SaveStageProject(path, project, {}, &ops);
    std::vector<std::string> written;
    for (const std::string& step : ops.log()) {
        if (step.rfind("overwriteFile ", 0) == 0 || step.rfind("renameFile ", 0) == 0) {
            written.push_back(step.substr(step.rfind('/') + 1));
        }
    }
    // The journal's commit, then stage 3 and the save file, each over its old bytes.
    EXPECT_EQ(written,
              (std::vector<std::string>{".qon-save.journal", "Stage3.stg", "qonsave.sav"}));
    EXPECT_EQ(ReadSaveFile(scratch.file("qonsave.sav")), (SaveSlots{1, 1, 1, 1}));
    ExpectSameProject(OpenStageProject(path), project);
}

TEST(data_ProjectSave, FileWrittenOverWithFewerBytesKeepsNoOldTail) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    StageProject shorter = kNewProject;
    shorter.projectName = "N";
    WriteStageProject(path, shorter);
    EXPECT_EQ(ReadBytes(path), "N\r\n5\r\nNew staff\r\n");
}

TEST(data_ProjectSave, FileWithASecondNameIsReplacedNotWrittenThrough) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    const std::string copy = scratch.folder("elsewhere") + "Stage1.stg";
    const std::string old = ReadBytes(scratch.file("Stage1.stg"));
    ASSERT_EQ(::link(scratch.file("Stage1.stg").c_str(), copy.c_str()), 0);
    WriteStageProject(path, kNewProject);
    EXPECT_EQ(ReadBytes(copy), old) << "another name of the file was changed";
    ExpectSameProject(OpenStageProject(path), kNewProject);
}

TEST(data_ProjectSave, FilesKeepTheirPermissionsAndNewOnesAreReadableByAll) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    ASSERT_EQ(::chmod(scratch.file("Stage2.stg").c_str(), 0600), 0);
    const mode_t mask = ::umask(077);
    WriteStageProject(path, kNewProject);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(scratch.file("Stage2.stg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    ASSERT_EQ(::stat(scratch.file("Stage5.stg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST(data_ProjectSave, LinkAtAStageFileIsReplacedAndWhatItPointsAtIsKept) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    const std::string shared = scratch.folder("shared") + "Stage.stg";
    WriteBytes(shared, "shared stage");
    ASSERT_EQ(::unlink(scratch.file("Stage1.stg").c_str()), 0);
    ASSERT_EQ(::symlink(shared.c_str(), scratch.file("Stage1.stg").c_str()), 0);
    WriteStageProject(path, kNewProject);
    EXPECT_FALSE(fs::is_symlink(scratch.file("Stage1.stg")));
    EXPECT_EQ(ReadBytes(shared), "shared stage");
    ExpectSameProject(OpenStageProject(path), kNewProject);
}

TEST(data_ProjectSave, ReaderWaitsForASaveInProgressThenGivesUpWithAReason) {
    ScratchFolder scratch;
    const std::string path = MakeOldFolder(scratch);
    DiskFileOperations saving;
    const std::unique_ptr<FolderLock> held = saving.lockFolder(scratch.path());
    DiskFileOperations impatient(std::chrono::milliseconds(50));
    StageGrid grid;
    ResetGrid(grid);
    try {
        ReadStageForPlay(path, 1, grid, &impatient);
        FAIL() << "read a folder that a save holds";
    } catch (const DataError& error) {
        EXPECT_NE(error.reason().find("another program is saving"), std::string::npos);
    }
    EXPECT_THROW(SaveStageProject(path, kNewProject, {}, &impatient), DataError);
}

// ---- Save As into a folder that holds another project -----------------------------------

struct ClashRow {
    const char* name;
    std::vector<std::string> files{};  // what the folder holds besides "Another.stp"
    int stageCount = 3;                // stages of the project saved as "Another.stp"
    std::string expected{};            // "Odd.stp:1,2 sav" style summary
};

std::string Summary(const SaveClash& clash) {
    std::string text;
    for (const OtherProject& other : clash.projects) {
        text += other.fileName + ":";
        for (std::size_t i = 0; i < other.stagesReplaced.size(); ++i) {
            text += (i ? "," : "") + std::to_string(other.stagesReplaced[i]);
        }
        text += " ";
    }
    return text + (clash.saveFileReset ? "sav" : "");
}

class SaveClashes : public ::testing::TestWithParam<ClashRow> {};

TEST_P(SaveClashes, NameWhatWouldBeReplaced) {
    const ClashRow& row = GetParam();
    ScratchFolder scratch;
    for (const std::string& name : row.files) {
        if (name == "Odd.stp") {
            WriteBytes(scratch.file(name), "Odd\r\n2\r\nAnn\r\n");
        } else if (name == "Big.stp") {
            WriteBytes(scratch.file(name), "Big\r\n30\r\nBo\r\n");
        } else {
            WriteBytes(scratch.file(name), "x");
        }
    }
    EXPECT_EQ(Summary(FindSaveClash(scratch.file("Another.stp"), row.stageCount)), row.expected);
}

const ClashRow kClashRows[] = {
    {.name = "EmptyFolder"},
    {.name = "OwnFilesOnly", .files = {"Another.stp", "Stage1.stg", "qonsave.sav"}},
    {.name = "OrphanStageFilesBelongToNoProject", .files = {"Stage1.stg", "qonsave.sav"}},
    {.name = "OtherProjectsStagesAndSaveFile",
     .files = {"Odd.stp", "Stage1.stg", "Stage2.stg", "qonsave.sav"},
     .expected = "Odd.stp:1,2 sav"},
    {.name = "OnlyStagesBothProjectsCount",
     .files = {"Odd.stp", "Stage1.stg", "Stage2.stg", "Stage3.stg"},
     .stageCount = 1,
     .expected = "Odd.stp:1 "},
    {.name = "SaveFileAloneIsAClash",
     .files = {"Odd.stp", "qonsave.sav"},
     .expected = "Odd.stp: sav"},
    {.name = "OtherProjectWithoutFilesHereIsNoClash", .files = {"Odd.stp", "Stage3.stg"}},
    {.name = "UnreadableProjectFileOwnsEveryStage",
     .files = {"Broken.STP", "Stage3.stg"},
     .expected = "Broken.STP:3 "},
    {.name = "EveryOtherProjectIsNamed",
     .files = {"Odd.stp", "Big.stp", "Stage3.stg", "qonsave.sav"},
     .expected = "Big.stp:3 Odd.stp: sav"},
};
INSTANTIATE_TEST_SUITE_P(data, SaveClashes, ::testing::ValuesIn(kClashRows), RowName);

}  // namespace
}  // namespace qon
