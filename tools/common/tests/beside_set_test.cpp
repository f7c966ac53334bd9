// SPDX-License-Identifier: MIT
// Copying the files a set names next to the set before it is saved.
#include "qon/tools_common/beside_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::tools_common {
namespace {

using Choice = Prompter::Choice;
using Result = BesideSetCopier::Result;
using test_support::Exists;
using test_support::ReadBytes;
using test_support::RowName;
using test_support::ScratchFolder;
using test_support::WriteBytes;

QON_PRINT_ROWS_BY_NAME

constexpr std::size_t kCap = 1024;

struct Harness {
    ScratchFolder root;
    std::string set = root.folder("set") + "Forest.msp";
    std::string elsewhere = root.folder("elsewhere");
    ScriptedPrompter prompter;
    BesideSetCopier copier{prompter, QStringLiteral("QONOrvinth"),
                           QStringLiteral("ミュージックセット"), kCap};
    std::map<std::string, std::string> copies;

    std::string fileElsewhere(const std::string& name, const std::string& bytes) {
        WriteBytes(elsewhere + name, bytes);
        return elsewhere + name;
    }
    std::string besideSet(const std::string& name) const { return root.file("set/" + name); }
    Result offer(const std::vector<std::string>& files) { return copier.offer(files, set, copies); }
};

struct StrayRow {
    const char* name;
    std::vector<std::string> files{};  // relative to the scratch root; "" stays empty
    std::vector<std::string> strays{};
};

class StrayFiles : public ::testing::TestWithParam<StrayRow> {};

TEST_P(StrayFiles, AreTheChosenFilesOutsideTheSetsFolder) {
    const StrayRow& row = GetParam();
    ScratchFolder root;
    root.folder("set");
    root.folder("other");
    std::filesystem::create_directory_symlink(root.file("set"), root.file("link"));
    std::vector<std::string> files;
    for (const std::string& file : row.files)
        files.push_back(file.empty() || file.find('/') == std::string::npos ? file
                                                                            : root.file(file));

    std::vector<std::string> strays;
    for (const StrayFile& stray : FilesOutsideSetFolder(files, root.file("set/a.bgp"))) {
        strays.push_back(stray.source.substr(root.path().size()));
        EXPECT_EQ(stray.copy, root.file("set/") + stray.source.substr(stray.source.rfind('/') + 1));
    }
    EXPECT_EQ(strays, row.strays);
}

const StrayRow kStrays[] = {
    {.name = "FilesBesideTheSetAreNotStray", .files = {"set/a.bmp", "set/b.bmp"}},
    {.name = "AFileInAnotherFolderIs",
     .files = {"set/a.bmp", "other/b.bmp"},
     .strays = {"other/b.bmp"}},
    {.name = "AFileNamedTwiceIsListedOnce",
     .files = {"other/b.bmp", "set/a.bmp", "other/b.bmp", "other/c.bmp"},
     .strays = {"other/b.bmp", "other/c.bmp"}},
    {.name = "EmptyEntriesAndBareNamesAreSkipped", .files = {"", "b.bmp"}},
    {.name = "ALinkToTheSetsFolderIsThatFolder", .files = {"link/a.bmp"}},
    {.name = "ASubfolderIsAnotherFolder", .files = {"set/sub/a.bmp"}, .strays = {"set/sub/a.bmp"}},
};
INSTANTIATE_TEST_SUITE_P(Files, StrayFiles, ::testing::ValuesIn(kStrays), RowName);

TEST(BesideSetCopier, YesCopiesTheBytesBesideTheSet) {
    Harness h;
    const std::string title = h.fileElsewhere("title.mid", "MThd title");
    const std::string stage = h.fileElsewhere("stage.mid", "MThd stage");
    h.prompter.choiceAnswers = {Choice::Yes};

    EXPECT_EQ(h.offer({title, stage, title}), Result::Copied);

    ASSERT_EQ(h.prompter.questions.size(), 1);
    const QString& question = h.prompter.questions.front();
    EXPECT_TRUE(question.contains(toQ(title)));
    EXPECT_TRUE(question.contains(toQ(stage)));
    EXPECT_TRUE(
        question.contains(QStringLiteral("ミュージックセットと同じフォルダにコピーしますか")));
    EXPECT_EQ(h.prompter.titles, QStringList{QStringLiteral("QONOrvinth")});
    EXPECT_EQ(ReadBytes(h.besideSet("title.mid")), "MThd title");
    EXPECT_EQ(ReadBytes(h.besideSet("stage.mid")), "MThd stage");
    EXPECT_EQ(h.copies, (std::map<std::string, std::string>{{title, h.besideSet("title.mid")},
                                                            {stage, h.besideSet("stage.mid")}}));
    EXPECT_EQ(ReadBytes(title), "MThd title");  // copied, not moved
}

TEST(BesideSetCopier, NothingToAskWhenEveryFileIsBesideTheSet) {
    Harness h;
    WriteBytes(h.besideSet("a.mid"), "a");
    EXPECT_EQ(h.offer({h.besideSet("a.mid"), ""}), Result::NothingToCopy);
    EXPECT_TRUE(h.prompter.questions.isEmpty());
}

TEST(BesideSetCopier, NoSavesAsItIsAndIsNotAskedAgainForTheSameFiles) {
    Harness h;
    const std::string track = h.fileElsewhere("a.mid", "a");
    h.prompter.choiceAnswers = {Choice::No};

    EXPECT_EQ(h.offer({track}), Result::Declined);
    EXPECT_EQ(h.offer({track}), Result::Declined);

    EXPECT_EQ(h.prompter.questions.size(), 1);
    EXPECT_FALSE(Exists(h.besideSet("a.mid")));
    // Another stray file is a new question.
    const std::string more = h.fileElsewhere("b.mid", "b");
    EXPECT_EQ(h.offer({track, more}), Result::Cancelled);
    EXPECT_EQ(h.prompter.questions.size(), 2);
}

TEST(BesideSetCopier, CancelCopiesNothing) {
    Harness h;
    const std::string track = h.fileElsewhere("a.mid", "a");
    h.prompter.choiceAnswers = {Choice::Cancel};
    EXPECT_EQ(h.offer({track}), Result::Cancelled);
    EXPECT_FALSE(Exists(h.besideSet("a.mid")));
}

TEST(BesideSetCopier, TheSameFileAlreadyThereIsNotAskedAbout) {
    Harness h;
    const std::string track = h.fileElsewhere("a.mid", "same");
    WriteBytes(h.besideSet("a.mid"), "same");
    h.prompter.choiceAnswers = {Choice::Yes};

    EXPECT_EQ(h.offer({track}), Result::Copied);
    EXPECT_EQ(h.prompter.questions.size(), 1);
    EXPECT_EQ(h.copies.at(track), h.besideSet("a.mid"));
}

struct ClashRow {
    const char* name;
    Choice overwrite = Choice::Yes;
    Result result = Result::Copied;
    const char* besideAfter = "";
    bool counted = false;  // the copy is in `copies`
};

class DifferentFileOfTheSameName : public ::testing::TestWithParam<ClashRow> {};

TEST_P(DifferentFileOfTheSameName, IsReplacedOnlyWhenTheAuthorSaysSo) {
    const ClashRow& row = GetParam();
    Harness h;
    const std::string track = h.fileElsewhere("a.mid", "new");
    WriteBytes(h.besideSet("a.mid"), "old");
    h.prompter.choiceAnswers = {Choice::Yes, row.overwrite};

    EXPECT_EQ(h.offer({track}), row.result);

    ASSERT_EQ(h.prompter.questions.size(), 2);
    EXPECT_TRUE(h.prompter.questions[1].contains(toQ(h.besideSet("a.mid"))));
    EXPECT_TRUE(h.prompter.questions[1].contains(QStringLiteral("同じ名前の別のファイル")));
    EXPECT_EQ(ReadBytes(h.besideSet("a.mid")), row.besideAfter);
    EXPECT_EQ(h.copies.count(track), row.counted ? 1u : 0u);
}

const ClashRow kClashes[] = {
    {.name = "YesOverwrites", .besideAfter = "new", .counted = true},
    {.name = "NoKeepsTheFileThere",
     .overwrite = Choice::No,
     .result = Result::Copied,
     .besideAfter = "old"},
    {.name = "CancelStopsTheSave",
     .overwrite = Choice::Cancel,
     .result = Result::Cancelled,
     .besideAfter = "old"},
};
INSTANTIATE_TEST_SUITE_P(Answers, DifferentFileOfTheSameName, ::testing::ValuesIn(kClashes),
                         RowName);

TEST(BesideSetCopier, TwoStrayFilesOfOneNameDoNotSilentlyReplaceEachOther) {
    Harness h;
    const std::string first = h.fileElsewhere("a.mid", "first");
    WriteBytes(h.root.folder("third") + "a.mid", "second");
    const std::string second = h.root.file("third/a.mid");
    h.prompter.choiceAnswers = {Choice::Yes, Choice::No};

    EXPECT_EQ(h.offer({first, second}), Result::Copied);

    EXPECT_EQ(h.prompter.questions.size(), 2);
    EXPECT_EQ(ReadBytes(h.besideSet("a.mid")), "first");
}

TEST(BesideSetCopier, AFileThatCannotBeReadStopsTheSaveAndSaysWhyInJapanese) {
    Harness h;
    const std::string gone = h.elsewhere + "gone.mid";
    const std::string big = h.fileElsewhere("big.mid", std::string(kCap + 1, 'x'));
    for (const std::string& source : {gone, big}) {
        h.prompter.choiceAnswers = {Choice::Yes};
        h.prompter.messages.clear();
        EXPECT_EQ(h.offer({source}), Result::Failed);
        ASSERT_EQ(h.prompter.messages.size(), 1);
        EXPECT_TRUE(h.prompter.messages[0].contains(toQ(source)));
        EXPECT_TRUE(h.prompter.messages[0].contains(
            QStringLiteral("ミュージックセットを保存しませんでした")));
        EXPECT_FALSE(h.prompter.messages[0].contains(QStringLiteral("the file")));
    }
    EXPECT_FALSE(Exists(h.besideSet("gone.mid")));
    EXPECT_FALSE(Exists(h.besideSet("big.mid")));
}

}  // namespace
}  // namespace qon::tools_common
