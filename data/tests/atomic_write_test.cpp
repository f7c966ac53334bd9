// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/graphic_set.h"
#include "qon/data/music_set.h"
#include "qon/data/save_file.h"
#include "qon/data/set_list.h"
#include "qon/data/settings.h"
#include "qon/data/stage.h"
#include "qon/data/text.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test_support::Exists;
using test_support::ListFolder;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

// Lowers the largest file this process may write, as a full disk would, for one scope. Root
// ignores permissions but not this limit, so the failure is deterministic in any test run.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);  // write() then fails with EFBIG
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_saved{};
    void (*m_savedHandler)(int);
};

// Every writer of the library, writing something larger than a few bytes to `path`.
struct WriterRow {
    const char* name;
    void (*write)(const std::string& path) = nullptr;
};

class EveryWriter : public ::testing::TestWithParam<WriterRow> {};

TEST_P(EveryWriter, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    ScratchFolder folder;
    const std::string path = folder.file("target");
    WriteBytes(path, "previous content\r\n");
    try {
        FileSizeLimit limit(4);
        GetParam().write(path);
        FAIL() << "the write succeeded despite the limit";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_NE(error.reason().find("File too large"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadBytes(path), "previous content\r\n");
    EXPECT_EQ(ListFolder(folder.path()), "target");
}

TEST_P(EveryWriter, ParentThatIsAFileFailsWithAReason) {
    ScratchFolder folder;
    WriteBytes(folder.file("plain"), "x");
    const std::string path = folder.file("plain/target");
    try {
        GetParam().write(path);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_NE(error.reason().find("Not a directory"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ListFolder(folder.path()), "plain");
}

TEST_P(EveryWriter, FolderAsTargetIsRefusedAndKept) {
    ScratchFolder folder;
    const std::string path = folder.file("target");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    WriteBytes(path + "/inside", "x");
    EXPECT_THROW(GetParam().write(path), DataError);
    EXPECT_EQ(ListFolder(path + "/"), "inside");
}

TEST_P(EveryWriter, PipeAsTargetIsRefusedAndKept) {
    ScratchFolder folder;
    const std::string path = folder.file("target");
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    EXPECT_THROW(GetParam().write(path), DataError);
    struct stat info {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(ListFolder(folder.path()), "target");
}

const WriterRow kWriterRows[] = {
    {.name = "RawBytes",
     .write = [](const std::string& p) { WriteFileAtomic(p, "new content, longer than before"); }},
    {.name = "Lines",
     .write =
         [](const std::string& p) {
             WriteLinesAtomic(p, {"a", "b", "c"});
         }},
    {.name = "SetList", .write = [](const std::string& p) { WriteSetList(p, {"/a.stp"}); }},
    {.name = "SaveFile",
     .write =
         [](const std::string& p) {
             WriteSaveFile(p, {1, 2, 3, 4});
         }},
    {.name = "Settings",
     .write =
         [](const std::string& p) {
             WriteSettingsFile(p, {1, 2, 3});
         }},
    {.name = "GraphicSet", .write = [](const std::string& p) { WriteGraphicSetFile(p, {}); }},
    {.name = "MusicSet", .write = [](const std::string& p) { WriteMusicSetFile(p, {}); }},
};

INSTANTIATE_TEST_SUITE_P(data, EveryWriter, ::testing::ValuesIn(kWriterRows), RowName);

TEST(data_AtomicWrite, StageProjectTheDiskCannotHoldKeepsEveryOldFile) {
    ScratchFolder folder;
    const std::string projectPath = folder.file("p.stp");
    StageProject project;
    project.stages.resize(3);
    for (StageGrid& grid : project.stages) {
        ResetEditorGrid(grid);
    }
    WriteStageProject(projectPath, project);
    const std::string before = ReadBytes(projectPath);
    const std::string stage1 = ReadBytes(folder.file("Stage1.stg"));
    project.projectName = "renamed";
    for (StageGrid& grid : project.stages) grid[0].Kind = Kind::Bomb;
    try {
        FileSizeLimit limit(100);  // stage files (780 bytes) cannot be written
        WriteStageProject(projectPath, project);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), projectPath);
        EXPECT_NE(error.reason().find("File too large"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadBytes(projectPath), before);
    EXPECT_EQ(ReadBytes(folder.file("Stage1.stg")), stage1);
    EXPECT_EQ(ReadStageProject(projectPath).stages.size(), 3u);
    EXPECT_EQ(ListFolder(folder.path()), "Stage1.stg Stage2.stg Stage3.stg p.stp qonsave.sav");
}

struct RefusedTextRow {
    const char* name;
    std::vector<std::string> lines;
    int line = 0;
    const char* reasonPart = "";
};

class RefusedText : public ::testing::TestWithParam<RefusedTextRow> {};

TEST_P(RefusedText, IsRefusedBeforeTheDiskIsTouched) {
    ScratchFolder folder;
    const std::string path = folder.file("target");
    WriteBytes(path, "old");
    try {
        WriteLinesAtomic(path, GetParam().lines);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), GetParam().line);
        EXPECT_NE(error.reason().find(GetParam().reasonPart), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(ListFolder(folder.path()), "target");
}

const RefusedTextRow kRefusedTextRows[] = {
    {.name = "Emoji",
     .lines = {"fine", "名前😀"},
     .line = 2,
     .reasonPart = "cannot be written in Shift-JIS"},
    {.name = "BrokenUtf8",
     .lines = {"\xC3"},
     .line = 1,
     .reasonPart = "cannot be written in Shift-JIS"},
    {.name = "LineBreakInValue",
     .lines = {"a", "b", "two\nlines"},
     .line = 3,
     .reasonPart = "line break"},
    {.name = "CarriageReturnInValue",
     .lines = {"one\rline"},
     .line = 1,
     .reasonPart = "line break"},
};

INSTANTIATE_TEST_SUITE_P(data, RefusedText, ::testing::ValuesIn(kRefusedTextRows), RowName);

TEST(data_AtomicWrite, ReplacingKeepsPermissionsAndFollowsSymbolicLinks) {
    ScratchFolder folder;
    const std::string real = folder.file("real.sel");
    const std::string link = folder.file("link.sel");
    WriteSetList(real, {"/old"});
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);

    WriteSetList(link, {"/new"});
    struct stat info {};
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link itself stays a link";
    EXPECT_EQ(ReadSetList(real), std::vector<std::string>{"/new"});
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(data_AtomicWrite, NewFileIsReadableByOthers) {
    ScratchFolder folder;
    WriteSettingsFile(folder.file("Init.bse"), {});
    struct stat info {};
    ASSERT_EQ(stat(folder.file("Init.bse").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

// A stage project is several files, replaced as one. A folder standing where one of them
// goes stops the save before anything changes: every file keeps its previous content.
struct StageProjectStopRow {
    const char* name;
    const char* blocked = "";  // the file that cannot be replaced
};

class StageProjectStop : public ::testing::TestWithParam<StageProjectStopRow> {};

TEST_P(StageProjectStop, NothingIsReplacedAndTheBlockedFileIsNamed) {
    const StageProjectStopRow& c = GetParam();
    ScratchFolder folder;
    const std::string projectPath = folder.file("p.stp");
    StageProject project;
    project.projectName = "old";
    project.stages.resize(3);
    for (StageGrid& grid : project.stages) ResetEditorGrid(grid);
    WriteStageProject(projectPath, project);
    WriteSaveFile(folder.file("qonsave.sav"), {3, 2, 1, 4});  // progress made in the game

    const char* files[] = {"Stage1.stg", "Stage2.stg", "Stage3.stg", "p.stp", "qonsave.sav"};
    std::map<std::string, std::string> before;
    for (const char* name : files) before[name] = ReadBytes(folder.file(name));

    // Stand a folder where the blocked file goes; the old content waits inside it.
    const std::string blocked = folder.file(c.blocked);
    ASSERT_EQ(rename(blocked.c_str(), (blocked + ".old").c_str()), 0);
    ASSERT_EQ(mkdir(blocked.c_str(), 0755), 0);

    StageProject edited = project;
    edited.projectName = "new";
    for (StageGrid& grid : edited.stages) grid[0].Kind = Kind::Bomb;
    try {
        WriteStageProject(projectPath, edited);
        FAIL() << "the save went through a folder";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), blocked);
    }

    ASSERT_EQ(rmdir(blocked.c_str()), 0) << "the folder in the way was changed";
    ASSERT_EQ(rename((blocked + ".old").c_str(), blocked.c_str()), 0);
    for (const char* name : files) {
        EXPECT_EQ(ReadBytes(folder.file(name)), before[name]) << name << " was changed";
    }
    EXPECT_EQ(ListFolder(folder.path()), "Stage1.stg Stage2.stg Stage3.stg p.stp qonsave.sav")
        << "something was left behind";
}

const StageProjectStopRow kStageProjectStopRows[] = {
    {.name = "AtTheFirstStage", .blocked = "Stage1.stg"},
    {.name = "AtAMiddleStage", .blocked = "Stage2.stg"},
    {.name = "AtTheProjectFile", .blocked = "p.stp"},
    {.name = "AtTheSaveFile", .blocked = "qonsave.sav"},
};

INSTANTIATE_TEST_SUITE_P(data, StageProjectStop, ::testing::ValuesIn(kStageProjectStopRows),
                         RowName);

TEST(data_AtomicWrite, StageProjectIntoAFolderThatIsAFileWritesNothing) {
    ScratchFolder folder;
    WriteBytes(folder.file("plain"), "x");
    StageProject project;
    project.stages.resize(2);
    for (StageGrid& grid : project.stages) ResetEditorGrid(grid);
    try {
        WriteStageProject(folder.file("plain/p.stp"), project);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_NE(error.reason().find("Not a directory"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ListFolder(folder.path()), "plain");
    EXPECT_EQ(ReadBytes(folder.file("plain")), "x");
}

// ---- leftovers of killed writers ------------------------------------------------------

TEST(data_AtomicWrite, NextWriteRemovesStaleTemporariesOfTheSameFileAndNothingElse) {
    ScratchFolder folder;
    WriteSettingsFile(folder.file("Init.bse"), {0, 0, 0});
    // Left by killed writers of Init.bse.
    WriteBytes(folder.file(".Init.bse.qon-Ab12Cd"), "0\r\n");
    WriteBytes(folder.file(".Init.bse.qon-zzzzzz"), "");
    // Look-alikes that no writer of Init.bse made.
    const char* lookAlikes[] = {"Init.bse.backup",       "Init.bse.Ab12Cd",
                                ".Init.bse.qon-Ab12C",   ".Init.bse.qon-Ab12Cde",
                                ".Init.bse.qon-Ab12C!",  ".Init.bsex.qon-Ab12Cd",
                                "..Init.bse.qon-Ab12Cd", ".StageSet.sel.qon-Ab12Cd"};
    for (const char* name : lookAlikes) WriteBytes(folder.file(name), "keep");
    WriteBytes(folder.folder(".Init.bse.qon-Dir123") + "inside", "keep");
    ASSERT_EQ(symlink(folder.file("Init.bse.backup").c_str(),
                      folder.file(".Init.bse.qon-Lnk123").c_str()),
              0);
    // A writer still at work in another process holds its temporary.
    const std::string live = folder.file(".Init.bse.qon-Live12");
    WriteBytes(live, "being written");
    const int held = open(live.c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    WriteSettingsFile(folder.file("Init.bse"), {1, 2, 3});
    close(held);

    EXPECT_FALSE(Exists(folder.file(".Init.bse.qon-Ab12Cd")));
    EXPECT_FALSE(Exists(folder.file(".Init.bse.qon-zzzzzz")));
    for (const char* name : lookAlikes) EXPECT_EQ(ReadBytes(folder.file(name)), "keep") << name;
    EXPECT_EQ(ReadBytes(folder.file(".Init.bse.qon-Dir123/inside")), "keep");
    EXPECT_EQ(ReadBytes(folder.file(".Init.bse.qon-Lnk123")), "keep");
    EXPECT_EQ(ReadBytes(live), "being written");
    EXPECT_EQ(ReadSettingsFile(folder.file("Init.bse")).MusicSetIndex, 3);
}

TEST(data_AtomicWrite, WriterKilledAtRandomLeavesAWholeFileAndTheNextWriteTidiesUp) {
    ScratchFolder folder;
    const std::string path = folder.file("qonsave.sav");
    const SaveSlots first{1, 1, 1, 1};
    const SaveSlots second{7, 6, 5, 4};
    WriteSaveFile(path, first);
    std::mt19937 random(20240607);
    int kills = 0;
    for (int round = 0; round < 150; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) WriteSaveFile(path, i % 2 ? first : second);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        kills += WIFSIGNALED(status) ? 1 : 0;
        const SaveSlots read = ReadSaveFile(path);
        ASSERT_TRUE(read == first || read == second) << "a half-written save file";
    }
    EXPECT_EQ(kills, 150);
    WriteSaveFile(path, first);
    EXPECT_EQ(ListFolder(folder.path()), "qonsave.sav") << "a temporary outlived the next write";
}

}  // namespace
}  // namespace qon
