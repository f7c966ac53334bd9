// SPDX-License-Identifier: MIT
#include "qon/data/set_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "memory_files.h"
#include "qon/data/error.h"
#include "qon/data/text.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon {
namespace {

QON_PRINT_ROWS_BY_NAME

using test::MemoryFiles;
using test_support::RowName;
using test_support::ScratchFolder;

using Entries = std::vector<std::string>;

const std::string kListPath = "/mem/l.sel";

std::string formatted(const Entries& entries) {
    return FormatLines(FormatSetList(entries, kListPath), kListPath);
}

TEST(data_SetList, RoundTripOfPathsWithSpacesCommasAndJapanese) {
    const Entries entries = {"/home/プレイヤー/My Sets/Easy, Hard ①.stp", "/a/b.stp", "/a/b.stp",
                             " /leading space～ｱ.stp"};
    const std::string bytes = formatted(entries);
    EXPECT_EQ(ParseSetList(bytes, kListPath), entries);
    EXPECT_EQ(bytes.substr(0, 3), "4\r\n");
}

TEST(data_SetList, EmptyListIsTheSingleLineZero) {
    const std::string bytes = formatted({});
    EXPECT_EQ(bytes, "0\r\n");
    EXPECT_EQ(ParseSetList(bytes, kListPath), Entries{});
}

TEST(data_SetList, MoreEntriesThanSixteenBitsCountIsRefusedByName) {
    Entries entries(32767, "/a.stp");
    EXPECT_EQ(FormatSetList(entries, kListPath).front(), "32767");
    entries.push_back("/one too many.stp");
    try {
        FormatSetList(entries, kListPath);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), kListPath);
        EXPECT_EQ(error.reason(), "a list holds at most 32767 entries, not 32768");
    }
}

TEST(data_SetList, BareLfAndLinesAfterTheEntriesAreFine) {
    EXPECT_EQ(ParseSetList("2\n/a.stp\n/b.stp\n/c.stp\n\xFF\n", kListPath),
              (Entries{"/a.stp", "/b.stp"}));
}

struct ListFailureRow {
    const char* name;
    std::string bytes;
    int line = 0;
    const char* reasonPart = "";
};

class SetListFailures : public ::testing::TestWithParam<ListFailureRow> {};

TEST_P(SetListFailures, NamesLineAndReason) {
    const ListFailureRow& row = GetParam();
    try {
        ParseSetList(row.bytes, kListPath);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), kListPath);
        EXPECT_EQ(error.line(), row.line);
        EXPECT_NE(error.reason().find(row.reasonPart), std::string::npos) << error.what();
    }
}

const ListFailureRow kListFailureRows[] = {
    {.name = "EmptyFile", .bytes = "", .line = 1, .reasonPart = "ends early: the entry count"},
    {.name = "CountNotANumber",
     .bytes = "abc\r\n",
     .line = 1,
     .reasonPart = "the entry count \"abc\" is not a whole number from 0 to 32767"},
    {.name = "CountNegative", .bytes = "-1\r\n/a\r\n", .line = 1, .reasonPart = "\"-1\""},
    {.name = "CountHuge", .bytes = "99999\r\n/a\r\n", .line = 1, .reasonPart = "\"99999\""},
    {.name = "FewerEntriesThanCounted",
     .bytes = "3\r\n/a\r\n/b\r\n",
     .line = 4,
     .reasonPart = "ends early: entry 3 of 3"},
    {.name = "LargestCountWithOneEntry",
     .bytes = "32767\r\n/a\r\n",
     .line = 3,
     .reasonPart = "ends early: entry 2 of 32767"},
    {.name = "InvalidCp932InEntry",
     .bytes = "1\r\n/\x82\r\n",
     .line = 2,
     .reasonPart = "Shift-JIS"},
};

INSTANTIATE_TEST_SUITE_P(data, SetListFailures, ::testing::ValuesIn(kListFailureRows), RowName);

TEST(data_SetList, FolderGivenAsListFile) {
    ScratchFolder folder;
    ASSERT_EQ(mkdir(folder.file("StageSet.sel").c_str(), 0755), 0);
    EXPECT_THROW(ReadSetList(folder.file("StageSet.sel")), DataError);
    EXPECT_THROW(WriteSetList(folder.file("StageSet.sel"), {}), DataError);
}

struct DisplayNameRow {
    const char* name;
    std::string bytes;
    std::string displayName;
};

class DisplayName : public ::testing::TestWithParam<DisplayNameRow> {};

TEST_P(DisplayName, IsTheFirstLine) {
    EXPECT_EQ(ParseDisplayName(GetParam().bytes, "/mem/s.stp"), GetParam().displayName);
}

const DisplayNameRow kDisplayNameRows[] = {
    {.name = "Cp932NameWithComma",
     .bytes = "\x8F\x74, \x87\x40\x81\x60\xB1\r\n2\r\nStaff\r\n",
     .displayName = "春, ①～ｱ"},
    {.name = "EmptyFirstLine", .bytes = "\r\nrest\r\n", .displayName = ""},
    {.name = "EmptyFile", .bytes = "", .displayName = ""},
    {.name = "OnlyLineWithoutLineEnd",
     .bytes = "only line without end",
     .displayName = "only line without end"},
    {.name = "LaterLinesAreNotDecoded", .bytes = "Name\r\n\xFF\xFF\r\n", .displayName = "Name"},
};

INSTANTIATE_TEST_SUITE_P(data, DisplayName, ::testing::ValuesIn(kDisplayNameRows), RowName);

// ---- the game's reading of all three lists ------------------------------------------

// A game folder in memory with three lists; each listed set file's first line is its
// display name.
class data_GameLists : public ::testing::Test {
  protected:
    static constexpr const char* kFolder = "/game/";

    static std::string file(const std::string& name) { return kFolder + name; }

    void writeList(SetKind kind, const Entries& names) {
        Entries paths;
        for (const std::string& name : names) {
            const std::string path = file(name + ".set");
            m_files.addLines(path, {name, "second line"});
            paths.push_back(path);
        }
        writeListOf(kind, paths);
    }
    void writeListOf(SetKind kind, const Entries& paths) {
        const std::string path = file(SetListFileName(kind));
        m_files.addLines(path, FormatSetList(paths, path));
    }

    // Lists as an earlier pass left them.
    static SetLists earlier() {
        SetLists lists;
        for (SetList* list : {&lists.stage, &lists.bitmap, &lists.music}) {
            list->count = 1;
            list->paths = {"/old/path"};
            list->names = {"old"};
        }
        return lists;
    }

    MemoryFiles m_files;
};

TEST_F(data_GameLists, ReadsPathsAndNamesOfAllThree) {
    writeList(SetKind::Stage, {"Stage A", "Stage, B"});
    writeList(SetKind::BitMap, {"Graphic"});
    writeList(SetKind::Music, {"Music ①", "M2", "M3"});
    SetLists lists = earlier();
    ReadSetLists(kFolder, lists, m_files.source());
    EXPECT_EQ(lists.stoppedAt, "");
    EXPECT_EQ(lists.stage.count, 2);
    EXPECT_EQ(lists.stage.names, (Entries{"Stage A", "Stage, B"}));
    EXPECT_EQ(lists.stage.paths[1], file("Stage, B.set"));
    EXPECT_EQ(lists.bitmap.names, Entries{"Graphic"});
    EXPECT_EQ(lists.music.count, 3);
    EXPECT_EQ(lists.music.names[0], "Music ①");
}

TEST_F(data_GameLists, FolderWithoutTrailingSlashIsAccepted) {
    writeList(SetKind::Stage, {"S"});
    writeList(SetKind::BitMap, {"G"});
    writeList(SetKind::Music, {"M"});
    SetLists lists;
    ReadSetLists("/game", lists, m_files.source());
    EXPECT_EQ(lists.music.names, Entries{"M"});
}

struct StopRow {
    const char* name;
    SetKind emptyList = SetKind::Stage;
};

class GameListsStop : public data_GameLists, public ::testing::WithParamInterface<StopRow> {};

TEST_P(GameListsStop, CountZeroEndsTheReadingAndLeavesLaterListsAlone) {
    const SetKind empty = GetParam().emptyList;
    const SetKind order[] = {SetKind::Stage, SetKind::BitMap, SetKind::Music};
    for (SetKind kind : order) {
        if (kind == empty) {
            writeList(kind, {});
        } else {
            writeList(kind, {"fresh"});
        }
    }
    SetLists lists = earlier();
    ReadSetLists(kFolder, lists, m_files.source());
    EXPECT_EQ(lists.stoppedAt, file(SetListFileName(empty)));

    const SetList* byKind[] = {&lists.stage, &lists.bitmap, &lists.music};
    bool reached = false;
    for (int i = 0; i < 3; ++i) {
        const SetList& list = *byKind[i];
        if (order[i] == empty) {
            reached = true;
            EXPECT_EQ(list.count, 0) << i;
            EXPECT_EQ(list.names, Entries{"old"}) << "arrays of the empty list stay " << i;
        } else if (!reached) {
            EXPECT_EQ(list.count, 1) << i;
            EXPECT_EQ(list.names, Entries{"fresh"}) << i;
        } else {
            EXPECT_EQ(list.count, 1) << i;
            EXPECT_EQ(list.names, Entries{"old"}) << "list after the stop is unread " << i;
        }
    }
}

const StopRow kStopRows[] = {
    {.name = "EmptyStageList", .emptyList = SetKind::Stage},
    {.name = "EmptyGraphicList", .emptyList = SetKind::BitMap},
    {.name = "EmptyMusicList", .emptyList = SetKind::Music},
};

INSTANTIATE_TEST_SUITE_P(data, GameListsStop, ::testing::ValuesIn(kStopRows), RowName);

TEST_F(data_GameLists, FailuresNameTheFile) {
    SetLists lists;
    // No lists at all.
    try {
        ReadSetLists(kFolder, lists, m_files.source());
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), file("StageSet.sel"));
    }
    // A listed set file that does not exist.
    writeList(SetKind::Stage, {"S"});
    writeListOf(SetKind::BitMap, {file("gone.bgp")});
    try {
        ReadSetLists(kFolder, lists, m_files.source());
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), file("gone.bgp"));
    }
    // A list with fewer entries than its count.
    m_files.add(file("BitMapSet.sel"), "2\r\n" + file("S.set") + "\r\n");
    try {
        ReadSetLists(kFolder, lists, m_files.source());
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), file("BitMapSet.sel"));
        EXPECT_EQ(error.line(), 3);
    }
}

TEST_F(data_GameLists, AFailedListIsLeftAsItWas) {
    writeList(SetKind::Stage, {"S1", "S2"});
    writeListOf(SetKind::BitMap, {file("gone.bgp")});
    SetLists lists = earlier();
    EXPECT_THROW(ReadSetLists(kFolder, lists, m_files.source()), DataError);
    EXPECT_EQ(lists.stage.names, (Entries{"S1", "S2"})) << "the list read whole is replaced";
    EXPECT_EQ(lists.bitmap.count, 1);
    EXPECT_EQ(lists.bitmap.names, Entries{"old"}) << "the failed list keeps its old arrays";
}

}  // namespace
}  // namespace qon
