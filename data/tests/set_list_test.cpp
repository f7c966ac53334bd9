// SPDX-License-Identifier: MIT
#include "qon/data/set_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/text.h"
#include "temp_folder.h"

namespace qon {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

template <typename Row>
requires requires(const Row& row) {
    row.name;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

using Entries = std::vector<std::string>;

TEST(data_SetList, RoundTripOfPathsWithSpacesCommasAndJapanese) {
    TempFolder folder;
    const Entries entries = {"/home/プレイヤー/My Sets/Easy, Hard ①.stp", "/a/b.stp", "/a/b.stp",
                             " /leading space～ｱ.stp"};
    WriteSetList(folder.file("StageSet.sel"), entries);
    EXPECT_EQ(ReadSetList(folder.file("StageSet.sel")), entries);
    EXPECT_EQ(ReadBytes(folder.file("StageSet.sel")).substr(0, 3), "4\r\n");
}

TEST(data_SetList, EmptyListIsTheSingleLineZero) {
    TempFolder folder;
    WriteSetList(folder.file("MusicSet.sel"), {});
    EXPECT_EQ(ReadBytes(folder.file("MusicSet.sel")), "0\r\n");
    EXPECT_EQ(ReadSetList(folder.file("MusicSet.sel")), Entries{});
}

TEST(data_SetList, BareLfAndLinesAfterTheEntriesAreFine) {
    TempFolder folder;
    WriteBytes(folder.file("l.sel"), "2\n/a.stp\n/b.stp\n/c.stp\n\xFF\n");
    EXPECT_EQ(ReadSetList(folder.file("l.sel")), (Entries{"/a.stp", "/b.stp"}));
}

struct ListFailureCase {
    const char* name;
    std::string bytes;  // written unless `missing`
    bool missing;
    int line;
    const char* reasonPart;
};

class SetListFailures : public ::testing::TestWithParam<ListFailureCase> {};

TEST_P(SetListFailures, NamesLineAndReason) {
    const ListFailureCase& c = GetParam();
    TempFolder folder;
    if (!c.missing) {
        WriteBytes(folder.file("l.sel"), c.bytes);
    }
    try {
        ReadSetList(folder.file("l.sel"));
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file("l.sel"));
        EXPECT_EQ(error.line(), c.line);
        EXPECT_NE(error.reason().find(c.reasonPart), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    data, SetListFailures,
    ::testing::Values(
        ListFailureCase{"MissingFile", "", true, 0, "does not exist"},
        ListFailureCase{"EmptyFile", "", false, 1, "ends early: the entry count"},
        ListFailureCase{"CountNotANumber", "abc\r\n", false, 1,
                        "the entry count \"abc\" is not a whole number from 0 to 32767"},
        ListFailureCase{"CountNegative", "-1\r\n/a\r\n", false, 1, "\"-1\""},
        ListFailureCase{"CountHuge", "99999\r\n/a\r\n", false, 1, "\"99999\""},
        ListFailureCase{"FewerEntriesThanCounted", "3\r\n/a\r\n/b\r\n", false, 4,
                        "ends early: entry 3 of 3"},
        ListFailureCase{"LargestCountWithOneEntry", "32767\r\n/a\r\n", false, 3,
                        "ends early: entry 2 of 32767"},
        ListFailureCase{"InvalidCp932InEntry", "1\r\n/\x82\r\n", false, 2, "Shift-JIS"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(data_SetList, FolderGivenAsListFile) {
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.file("StageSet.sel").c_str(), 0755), 0);
    EXPECT_THROW(ReadSetList(folder.file("StageSet.sel")), DataError);
    EXPECT_THROW(WriteSetList(folder.file("StageSet.sel"), {}), DataError);
}

TEST(data_SetList, DisplayNameIsTheFirstLine) {
    TempFolder folder;
    // {file content, display name}
    const std::pair<std::string, std::string> table[] = {
        {"\x8F\x74, \x87\x40\x81\x60\xB1\r\n2\r\nStaff\r\n", "春, ①～ｱ"},
        {"\r\nrest\r\n", ""},
        {"", ""},
        {"only line without end", "only line without end"},
    };
    for (const auto& [bytes, name] : table) {
        WriteBytes(folder.file("s.stp"), bytes);
        EXPECT_EQ(ReadDisplayName(folder.file("s.stp")), name);
    }
    EXPECT_THROW(ReadDisplayName(folder.file("missing.stp")), DataError);
}

// ---- the game's reading of all three lists ------------------------------------------

// A game folder with three lists; each listed set file's first line is its display name.
class data_GameLists : public ::testing::Test {
  protected:
    void writeList(SetKind kind, const Entries& names) {
        Entries paths;
        for (const std::string& name : names) {
            const std::string path = m_folder.file(name + ".set");
            WriteLinesAtomic(path, {name, "second line"});
            paths.push_back(path);
        }
        WriteSetList(m_folder.file(SetListFileName(kind)), paths);
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

    TempFolder m_folder;
};

TEST_F(data_GameLists, ReadsPathsAndNamesOfAllThree) {
    writeList(SetKind::Stage, {"Stage A", "Stage, B"});
    writeList(SetKind::BitMap, {"Graphic"});
    writeList(SetKind::Music, {"Music ①", "M2", "M3"});
    SetLists lists = earlier();
    ReadSetLists(m_folder.path(), lists);
    EXPECT_EQ(lists.stoppedAt, "");
    EXPECT_EQ(lists.stage.count, 2);
    EXPECT_EQ(lists.stage.names, (Entries{"Stage A", "Stage, B"}));
    EXPECT_EQ(lists.stage.paths[1], m_folder.file("Stage, B.set"));
    EXPECT_EQ(lists.bitmap.names, Entries{"Graphic"});
    EXPECT_EQ(lists.music.count, 3);
    EXPECT_EQ(lists.music.names[0], "Music ①");
}

TEST_F(data_GameLists, FolderWithoutTrailingSlashIsAccepted) {
    writeList(SetKind::Stage, {"S"});
    writeList(SetKind::BitMap, {"G"});
    writeList(SetKind::Music, {"M"});
    SetLists lists;
    std::string folder = m_folder.path();
    folder.pop_back();
    ReadSetLists(folder, lists);
    EXPECT_EQ(lists.music.names, Entries{"M"});
}

struct StopCase {
    const char* name;
    SetKind emptyList;
};

class GameListsStop : public data_GameLists, public ::testing::WithParamInterface<StopCase> {};

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
    ReadSetLists(m_folder.path(), lists);
    EXPECT_EQ(lists.stoppedAt, m_folder.file(SetListFileName(empty)));

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

INSTANTIATE_TEST_SUITE_P(data, GameListsStop,
                         ::testing::Values(StopCase{"EmptyStageList", SetKind::Stage},
                                           StopCase{"EmptyGraphicList", SetKind::BitMap},
                                           StopCase{"EmptyMusicList", SetKind::Music}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(data_GameLists, FailuresNameTheFile) {
    SetLists lists;
    // No lists at all.
    try {
        ReadSetLists(m_folder.path(), lists);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), m_folder.file("StageSet.sel"));
    }
    // A listed set file that does not exist.
    writeList(SetKind::Stage, {"S"});
    WriteSetList(m_folder.file("BitMapSet.sel"), {m_folder.file("gone.bgp")});
    try {
        ReadSetLists(m_folder.path(), lists);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), m_folder.file("gone.bgp"));
    }
    // A list with fewer entries than its count.
    WriteBytes(m_folder.file("BitMapSet.sel"), "2\r\n" + m_folder.file("S.set") + "\r\n");
    try {
        ReadSetLists(m_folder.path(), lists);
        FAIL();
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), m_folder.file("BitMapSet.sel"));
        EXPECT_EQ(error.line(), 3);
    }
}

}  // namespace
}  // namespace qon
