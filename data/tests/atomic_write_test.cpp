// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>
#include <string>
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

TEST(data_AtomicWrite, StageProjectInterruptedKeepsTheOldProjectFile) {
    ScratchFolder folder;
    const std::string projectPath = folder.file("p.stp");
    StageProject project;
    project.stages.resize(3);
    for (StageGrid& grid : project.stages) {
        ResetEditorGrid(grid);
    }
    WriteStageProject(projectPath, project);
    const std::string before = ReadBytes(projectPath);
    project.projectName = "renamed";
    try {
        FileSizeLimit limit(100);  // stage files (780 bytes) cannot be written
        WriteStageProject(projectPath, project);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file("Stage1.stg"));
    }
    EXPECT_EQ(ReadBytes(projectPath), before);
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

// A stage project is several files. Wherever its save stops, every file keeps either its
// previous content or its complete new content, and the file that could not be written
// keeps its previous content. The stop is forced by standing a folder where one file goes.
struct StageProjectStopRow {
    const char* name;
    const char* blocked = "";            // the file that cannot be replaced
    const char* replacedBefore[4] = {};  // files already holding the new content
};

class StageProjectStop : public ::testing::TestWithParam<StageProjectStopRow> {};

TEST_P(StageProjectStop, EveryFileIsOldOrNewAndTheBlockedOneIsKept) {
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
    EXPECT_THROW(WriteStageProject(projectPath, edited), DataError);

    ASSERT_EQ(rmdir(blocked.c_str()), 0) << "the folder in the way was changed";
    ASSERT_EQ(rename((blocked + ".old").c_str(), blocked.c_str()), 0);
    for (const char* name : files) {
        const bool replaced = std::find_if(std::begin(c.replacedBefore), std::end(c.replacedBefore),
                                           [&](const char* r) {
                                               return r != nullptr && std::string(r) == name;
                                           }) != std::end(c.replacedBefore);
        if (replaced) {
            EXPECT_NE(ReadBytes(folder.file(name)), before[name]) << name << " was not written";
        } else {
            EXPECT_EQ(ReadBytes(folder.file(name)), before[name]) << name << " was changed";
        }
    }
    // Whatever was replaced is complete: the project still opens, stage by stage.
    const StageProject reread = ReadStageProject(projectPath);
    ASSERT_EQ(reread.stages.size(), 3u);
    EXPECT_EQ(ListFolder(folder.path()), "Stage1.stg Stage2.stg Stage3.stg p.stp qonsave.sav")
        << "a temporary file was left behind";
}

const StageProjectStopRow kStageProjectStopRows[] = {
    {.name = "AtTheFirstStage", .blocked = "Stage1.stg"},
    {.name = "AtAMiddleStage", .blocked = "Stage2.stg", .replacedBefore = {"Stage1.stg"}},
    {.name = "AtTheProjectFile",
     .blocked = "p.stp",
     .replacedBefore = {"Stage1.stg", "Stage2.stg", "Stage3.stg"}},
    // The fresh save file comes last: a failure there keeps the player's progress.
    {.name = "AtTheSaveFile",
     .blocked = "qonsave.sav",
     .replacedBefore = {"Stage1.stg", "Stage2.stg", "Stage3.stg", "p.stp"}},
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

}  // namespace
}  // namespace qon
