// SPDX-License-Identifier: MIT
// The game's messages in both languages: the table is complete, and a start-up failure is
// told in the language the game was started in.
#include "qon/shell/game_messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include "qon/headless/headless.h"
#include "qon/shell/shell.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/language.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::shell {
namespace {

using test_support::RowName;

QON_PRINT_ROWS_BY_NAME

TEST(GameMessageTable, EveryMessageHasItsTextInBothLanguages) {
    for (int i = 0; i < kGameMessageCount; ++i) {
        const auto message = static_cast<GameMessage>(i);
        const std::string_view english = GameMessageTemplate(Language::English, message);
        const std::string_view japanese = GameMessageTemplate(Language::Japanese, message);
        EXPECT_FALSE(english.empty()) << "message " << i;
        EXPECT_FALSE(japanese.empty()) << "message " << i;
        EXPECT_EQ(test_support::Placeholders(japanese), test_support::Placeholders(english))
            << "message " << i;
        // The English form is English: no Japanese text in it.
        for (const char c : english) EXPECT_GE(c, 0) << english;
        // The Japanese form is Japanese: each one says something in Japanese.
        EXPECT_TRUE(std::any_of(japanese.begin(), japanese.end(), [](char c) { return c < 0; }))
            << japanese;
    }
}

// A media layer whose display, sound or font cannot start.
class FailingMedia : public headless::HeadlessMedia {
  public:
    enum class Part { Display, Sound, Font };
    explicit FailingMedia(Part part) : m_part(part) {}
    bool InitDisplay(std::string& reason) override {
        reason = "no display";
        return m_part != Part::Display && HeadlessMedia::InitDisplay(reason);
    }
    bool InitSound(std::string& reason) override {
        reason = "no sound";
        return m_part != Part::Sound && HeadlessMedia::InitSound(reason);
    }
    bool InitFont(std::string& reason) override {
        if (m_part != Part::Font) return HeadlessMedia::InitFont(reason);
        reason = "no font file";
        return false;
    }

  private:
    Part m_part;
};

struct StartRow {
    const char* name;
    FailingMedia::Part part = FailingMedia::Part::Display;
    Language language = Language::Japanese;
    const char* message = "";
};

class StartMediaFailure : public ::testing::TestWithParam<StartRow> {};

TEST_P(StartMediaFailure, IsToldInTheGamesLanguage) {
    const StartRow& row = GetParam();
    test_support::ScratchFolder folder;
    FailingMedia media(row.part);
    GameShell shell(media, folder.path(), row.language);
    EXPECT_FALSE(shell.StartMedia());
    EXPECT_EQ(media.TakeMessages(), std::vector<std::string>{row.message});
}

const StartRow kStartRows[] = {
    {.name = "DisplayInJapanese", .message = "DirectDrawの初期化に失敗"},
    {.name = "DisplayInEnglish",
     .language = Language::English,
     .message = "The display cannot be started."},
    {.name = "SoundInJapanese",
     .part = FailingMedia::Part::Sound,
     .message = "DirectSoundの初期化に失敗"},
    {.name = "SoundInEnglish",
     .part = FailingMedia::Part::Sound,
     .language = Language::English,
     .message = "The sound cannot be started."},
    {.name = "FontInJapanese",
     .part = FailingMedia::Part::Font,
     .message = "フォントの初期化に失敗\nno font file"},
    {.name = "FontInEnglish",
     .part = FailingMedia::Part::Font,
     .language = Language::English,
     .message = "The font cannot be loaded.\nno font file"},
};
INSTANTIATE_TEST_SUITE_P(Languages, StartMediaFailure, ::testing::ValuesIn(kStartRows), RowName);

struct ListRow {
    const char* name;
    Language language = Language::Japanese;
    const char* stageList = "";  // the bytes of StageSet.sel
    const char* message = "";    // what the box says after the quoted path of the list
};

class BrokenStageList : public ::testing::TestWithParam<ListRow> {};

// The game's words and the data library's reason inside them speak one language.
TEST_P(BrokenStageList, IsToldInOneLanguage) {
    const ListRow& row = GetParam();
    const test_support::LanguageScope language(row.language);
    test_support::ScratchFolder folder;
    test_support::WriteBytes(folder.file("StageSet.sel"), row.stageList);
    headless::HeadlessMedia media;
    GameShell shell(media, folder.path(), row.language);
    EXPECT_FALSE(shell.PrepareGame());
    const std::vector<std::string> messages = media.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages.front().find(row.message), std::string::npos) << messages.front();
}

const ListRow kListRows[] = {
    {.name = "EmptyListInJapanese",
     .stageList = "0\r\n",
     .message = "この一覧にはセットが登録されていません。"},
    {.name = "EmptyListInEnglish",
     .language = Language::English,
     .stageList = "0\r\n",
     .message = "no set is registered in this list."},
};
INSTANTIATE_TEST_SUITE_P(Languages, BrokenStageList, ::testing::ValuesIn(kListRows), RowName);

}  // namespace
}  // namespace qon::shell
