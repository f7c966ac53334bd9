// SPDX-License-Identifier: MIT
// The one door to the disk: what ReadFileBytes, ReadFileStart, IsOrdinaryFile and
// WriteFileAtomic do with files that are not what they seem, and how every path-taking
// reader of the formats meets a missing file.
#include "qon/data/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

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

// The reason of the DataError `read` throws, or "no error".
template <typename Read>
std::string refusal(Read&& read) {
    try {
        read();
    } catch (const DataError& error) {
        return error.reason();
    }
    return "no error";
}

// ---- reading ---------------------------------------------------------------------

// Runs `read` in a child process that SIGALRM ends after five seconds, so a read that
// blocks fails the test instead of hanging it. True when the child saw a DataError whose
// reason holds `reasonPart`.
template <typename Read>
bool refusedWithoutBlocking(Read&& read, const std::string& reasonPart) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(5);
        const std::string reason = refusal(read);
        _exit(reason.find(reasonPart) != std::string::npos ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(data_ReadFileBytes, ReadsAnOrdinaryFileWhole) {
    ScratchFolder folder;
    const std::string bytes("a\0b\r\n\xFF", 6);
    WriteBytes(folder.file("f"), bytes);
    EXPECT_EQ(ReadFileBytes(folder.file("f"), 6), bytes);
    EXPECT_EQ(ReadFileBytes(folder.file("f"), 100), bytes);
    WriteBytes(folder.file("empty"), "");
    EXPECT_EQ(ReadFileBytes(folder.file("empty"), 0), "");
}

TEST(data_ReadFileBytes, RefusesANamedPipeWithoutBlocking) {
    ScratchFolder folder;
    const std::string path = folder.file("pipe");
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    EXPECT_TRUE(refusedWithoutBlocking([&] { ReadFileBytes(path, kMaxTextFileBytes); },
                                       "this is a named pipe, not an ordinary file"));
    EXPECT_TRUE(refusedWithoutBlocking([&] { ReadFileStart(path, 100); }, "named pipe"));
}

struct RefusedPathRow {
    const char* name;
    const char* path = "";  // absolute, or relative to a scratch folder
    const char* reason = "";
};

class ReadFileBytesRefuses : public ::testing::TestWithParam<RefusedPathRow> {};

TEST_P(ReadFileBytesRefuses, WhatIsNotAnOrdinaryFile) {
    ScratchFolder folder;
    folder.folder("folder");
    const std::string path =
        GetParam().path[0] == '/' ? GetParam().path : folder.file(GetParam().path);
    try {
        ReadFileBytes(path, kMaxTextFileBytes);
        FAIL() << "read " << path;
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.line(), 0);
        EXPECT_EQ(error.reason(), GetParam().reason);
    }
    EXPECT_FALSE(IsOrdinaryFile(path));
}

const RefusedPathRow kRefusedPathRows[] = {
    {.name = "MissingFile", .path = "none", .reason = "the file does not exist"},
    {.name = "FileInAMissingFolder", .path = "no/file", .reason = "the file does not exist"},
    {.name = "Folder", .path = "folder", .reason = "this is a folder, not a file"},
    {.name = "DevNull", .path = "/dev/null", .reason = "this is a device, not an ordinary file"},
    {.name = "EndlessDevZero",
     .path = "/dev/zero",
     .reason = "this is a device, not an ordinary file"},
};

INSTANTIATE_TEST_SUITE_P(data, ReadFileBytesRefuses, ::testing::ValuesIn(kRefusedPathRows),
                         RowName);

TEST(data_ReadFileBytes, RefusesAFileOverTheCapBeforeReadingIt) {
    ScratchFolder folder;
    const std::string path = folder.file("big");
    WriteBytes(path, std::string(101, 'x'));
    EXPECT_EQ(ReadFileBytes(path, 101).size(), 101u);
    EXPECT_EQ(refusal([&] { ReadFileBytes(path, 100); }),
              "the file is too large (101 bytes); at most 100 bytes are accepted here");
}

TEST(data_ReadFileBytes, FollowsASymbolicLinkToAFile) {
    ScratchFolder folder;
    WriteBytes(folder.file("real"), "content");
    ASSERT_EQ(symlink(folder.file("real").c_str(), folder.file("link").c_str()), 0);
    EXPECT_EQ(ReadFileBytes(folder.file("link"), 100), "content");
    EXPECT_TRUE(IsOrdinaryFile(folder.file("link")));
}

TEST(data_ReadFileBytes, UnreadableFileSaysSo) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ScratchFolder folder;
    WriteBytes(folder.file("secret"), "x");
    ASSERT_EQ(chmod(folder.file("secret").c_str(), 0), 0);
    EXPECT_EQ(refusal([&] { ReadFileBytes(folder.file("secret"), 100); }),
              "the file may not be read (permission denied)");
}

TEST(data_ReadFileStart, ReadsOnlyTheStartAndNeverRefusesForSize) {
    ScratchFolder folder;
    const std::string path = folder.file("long");
    WriteBytes(path, "first line\r\n" + std::string(5000, 'x'));
    EXPECT_EQ(ReadFileStart(path, 12), "first line\r\n");
    EXPECT_EQ(ReadFileStart(path, 100000).size(), 5012u);
    EXPECT_EQ(refusal([&] { ReadFileStart(folder.file("none"), 12); }), "the file does not exist");
    EXPECT_EQ(refusal([&] { ReadFileStart("/dev/zero", 12); }),
              "this is a device, not an ordinary file");
}

TEST(data_LineReader, FromFileReadsThroughTheFileLayer) {
    ScratchFolder folder;
    WriteBytes(folder.file("a.txt"), "one\r\n\x87\x40");
    LineReader reader = LineReader::FromFile(folder.file("a.txt"));
    EXPECT_EQ(reader.next(), "one");
    EXPECT_EQ(reader.next(), "①");
    EXPECT_EQ(reader.path(), folder.file("a.txt"));
    EXPECT_EQ(ReadAllLines(folder.file("a.txt")), (std::vector<std::string>{"one", "①"}));
}

struct OpenFailureRow {
    const char* name;
    void (*prepare)(const std::string& path) = nullptr;
    const char* reasonPart = "";
};

class LineReaderOpenFailures : public ::testing::TestWithParam<OpenFailureRow> {};

TEST_P(LineReaderOpenFailures, RefusesWithAReasonForTheWholeFile) {
    ScratchFolder folder;
    const std::string path = folder.file("target");
    GetParam().prepare(path);
    try {
        LineReader reader = LineReader::FromFile(path);
        FAIL() << "opened " << path;
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.line(), 0);
        EXPECT_NE(error.reason().find(GetParam().reasonPart), std::string::npos) << error.what();
    }
}

const OpenFailureRow kOpenFailureRows[] = {
    {.name = "MissingFile", .prepare = [](const std::string&) {}, .reasonPart = "does not exist"},
    {.name = "FolderGivenAsFile",
     .prepare = [](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0755), 0); },
     .reasonPart = "folder"},
    {.name = "FifoDoesNotBlock",
     .prepare = [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); },
     .reasonPart = "not an ordinary file"},
    {.name = "FileLargerThanTheCap",
     .prepare =
         [](const std::string& p) {
             WriteBytes(p, "");
             ASSERT_EQ(truncate(p.c_str(), kMaxTextFileBytes + 1), 0);
         },
     .reasonPart = "too large"},
};

INSTANTIATE_TEST_SUITE_P(data, LineReaderOpenFailures, ::testing::ValuesIn(kOpenFailureRows),
                         RowName);

// ---- writing ---------------------------------------------------------------------

TEST(data_WriteFileAtomic, ReplacesALongerFileWholeAndLeavesNoTemporary) {
    ScratchFolder folder;
    const std::string path = folder.file("a.mid");
    WriteFileAtomic(path, std::string(100, '\x01'));
    WriteFileAtomic(path, std::string("\x01\x02\x03", 3));
    EXPECT_EQ(ReadBytes(path), "\x01\x02\x03");
    EXPECT_EQ(ListFolder(folder.path()), "a.mid");
}

TEST(data_WriteFileAtomic, MissingFolderIsNamedAndNothingIsCreated) {
    ScratchFolder folder;
    const std::string path = folder.file("no such folder/b.mid");
    try {
        WriteFileAtomic(path, "x");
        FAIL() << "writing into a missing folder succeeded";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.reason(), "cannot write the file: No such file or directory");
    }
    EXPECT_EQ(ListFolder(folder.path()), "");
}

TEST(data_WriteFileAtomic, DeviceTargetIsRefusedByName) {
    EXPECT_EQ(refusal([] { WriteFileAtomic("/dev/null", "x"); }),
              "cannot write the file: this is a device, not an ordinary file");
}

// ---- every path-taking reader meets a missing file the same way -----------------------

struct MissingFileRow {
    const char* name;
    void (*read)(const std::string& folder) = nullptr;
    const char* missing = "";  // the file named, inside the folder
};

class MissingFile : public ::testing::TestWithParam<MissingFileRow> {};

TEST_P(MissingFile, IsNamedByItsReader) {
    ScratchFolder folder;
    // Only a project file of three stages: everything else is missing.
    WriteBytes(folder.file("p.stp"), "Name\r\n3\r\nStaff\r\n");
    try {
        GetParam().read(folder.path());
        FAIL() << "read a missing file";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file(GetParam().missing));
        EXPECT_EQ(error.line(), 0);
        EXPECT_EQ(error.reason(), "the file does not exist");
    }
}

const MissingFileRow kMissingFileRows[] = {
    {.name = "ProjectHeader",
     .read = [](const std::string& f) { ReadStageProjectHeader(f + "none.stp"); },
     .missing = "none.stp"},
    {.name = "StageProjectFile",
     .read = [](const std::string& f) { ReadStageProject(f + "none.stp"); },
     .missing = "none.stp"},
    {.name = "StageProjectsFirstStage",
     .read = [](const std::string& f) { ReadStageProject(f + "p.stp"); },
     .missing = "Stage1.stg"},
    {.name = "StageFileOfStageTen",
     .read =
         [](const std::string& f) {
             StageGrid grid;
             ResetGrid(grid);
             ReadStageFile(f + "p.stp", 10, grid);
         },
     .missing = "Stage10.stg"},
    {.name = "GraphicSet",
     .read = [](const std::string& f) { ReadGraphicSetFile(f + "none.bgp"); },
     .missing = "none.bgp"},
    {.name = "Palette",
     .read = [](const std::string& f) { ReadPaletteImages(f + "none.bgp"); },
     .missing = "none.bgp"},
    {.name = "MusicSetForEditing",
     .read = [](const std::string& f) { ReadMusicSetForEditing(f + "none.msp"); },
     .missing = "none.msp"},
    {.name = "MusicSetForGame",
     .read = [](const std::string& f) { ReadMusicSetForGame(f + "none.msp"); },
     .missing = "none.msp"},
    {.name = "SetList",
     .read = [](const std::string& f) { ReadSetList(f + "l.sel"); },
     .missing = "l.sel"},
    {.name = "DisplayName",
     .read = [](const std::string& f) { ReadDisplayName(f + "missing.stp"); },
     .missing = "missing.stp"},
    {.name = "GameListsStartWithTheStageList",
     .read =
         [](const std::string& f) {
             SetLists lists;
             ReadSetLists(f, lists);
         },
     .missing = "StageSet.sel"},
    {.name = "SaveFile",
     .read = [](const std::string& f) { ReadSaveFile(f + "qonsave.sav"); },
     .missing = "qonsave.sav"},
    {.name = "SettingsFile",
     .read = [](const std::string& f) { ReadSettingsFile(f + "Init.bse"); },
     .missing = "Init.bse"},
};

INSTANTIATE_TEST_SUITE_P(data, MissingFile, ::testing::ValuesIn(kMissingFileRows), RowName);

// ---- display names: the first line only ----------------------------------------------

TEST(data_DisplayName, ReadsOnlyTheStartOfALargeSetFile) {
    ScratchFolder folder;
    const std::string path = folder.file("huge.stp");
    WriteBytes(path, "\x90\x58\r\n30000\r\n");  // "森"
    // Sparse: far larger than any data file may be, so reading it whole is refused.
    std::filesystem::resize_file(path, kMaxTextFileBytes + 1);
    EXPECT_NE(refusal([&] { ReadTextFileBytes(path); }).find("too large"), std::string::npos);
    EXPECT_EQ(ReadDisplayName(path), "森");
    EXPECT_LE(ReadDisplayNameBytes(path).size(), kMaxFirstLineBytes);
}

TEST(data_DisplayName, AFirstLineLongerThanTheCapIsCutOnAWholeCharacter) {
    ScratchFolder folder;
    const std::string path = folder.file("long.bgp");
    // One ASCII letter, then two-byte characters: the cap falls inside the last one.
    std::string line = "a";
    while (line.size() < kMaxFirstLineBytes + 10) line += "\x90\x58";
    WriteBytes(path, line + "\r\nauthor\r\n");
    const std::string name = ReadDisplayName(path);
    EXPECT_EQ(name.size() % 3, 1u) << "\"a\" and whole three-byte characters";
    EXPECT_EQ(name.substr(0, 4), "a森");
    EXPECT_EQ(ReadDisplayNameBytes(path).size(), kMaxFirstLineBytes - 1);
}

TEST(data_DisplayName, AFolderOrAPipeIsRefusedAsBefore) {
    ScratchFolder folder;
    const std::string pipe = folder.file("pipe.msp");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_NE(refusal([&] { ReadDisplayName(pipe); }).find("named pipe"), std::string::npos);
    EXPECT_NE(refusal([&] { ReadDisplayName(folder.folder("sets.stp")); }).find("folder"),
              std::string::npos);
}

TEST(data_PathReaders, ReadTheFilesTheFormatsWrite) {
    ScratchFolder folder;
    const std::string game = folder.path();
    StageProject project;
    project.stages.assign(2, StageGrid{});
    for (StageGrid& grid : project.stages) ResetEditorGrid(grid);
    project.stages[1][0].Kind = Kind::Bomb;
    WriteStageProject(game + "p.stp", project);
    GraphicSetFile graphics;
    graphics.setName = "Graphics";
    WriteGraphicSetFile(game + "g.bgp", graphics);
    MusicSetFile music;
    music.setName = "Music";
    WriteMusicSetFile(game + "m.msp", music);
    WriteSetList(game + "StageSet.sel", {game + "p.stp"});
    WriteSetList(game + "BitMapSet.sel", {game + "g.bgp"});
    WriteSetList(game + "MusicSet.sel", {game + "m.msp"});

    EXPECT_EQ(ReadStageProject(game + "p.stp").stages[1][0].Kind, Kind::Bomb);
    StageGrid grid;
    ResetGrid(grid);
    ReadStageFile(game + "p.stp", 2, grid);
    EXPECT_EQ(grid[0].Kind, Kind::Bomb);
    EXPECT_EQ(ReadSaveFile(game + "qonsave.sav"), (SaveSlots{1, 1, 1, 1}));
    SetLists lists;
    ReadSetLists(game, lists);
    EXPECT_EQ(lists.stage.names, std::vector<std::string>{"New Stage"});
    EXPECT_EQ(lists.bitmap.names, std::vector<std::string>{"Graphics"});
    EXPECT_EQ(lists.music.names, std::vector<std::string>{"Music"});
}

}  // namespace
}  // namespace qon
