// SPDX-License-Identifier: MIT
#include "qon/tools_common/unsaved_changes.h"

#include <gtest/gtest.h>

#include "qon/test_support/rows.h"

namespace qon::tools_common {
namespace {

using Answer = Prompter::Answer;
using test_support::RowName;

struct AnswerRow {
    const char* name;
    Answer answer = Answer::Cancel;
    bool saveCompletes = true;
    bool goesOn = false;
    int saves = 0;
};
QON_PRINT_ROWS_BY_NAME

class SettleUnsavedChangesTest : public ::testing::TestWithParam<AnswerRow> {};

TEST_P(SettleUnsavedChangesTest, FollowsTheAuthorsAnswer) {
    const AnswerRow& row = GetParam();
    ScriptedPrompter prompter;
    prompter.unsavedAnswers = {row.answer};
    int saves = 0;
    const bool goesOn = SettleUnsavedChanges(prompter, nullptr, QStringLiteral("Title"),
                                             QStringLiteral("保存しますか？"), [&] {
                                                 ++saves;
                                                 return row.saveCompletes;
                                             });
    EXPECT_EQ(goesOn, row.goesOn);
    EXPECT_EQ(saves, row.saves);
    EXPECT_EQ(prompter.unsavedQuestions, 1);
    EXPECT_EQ(prompter.unsavedTexts, QStringList{QStringLiteral("保存しますか？")});
    EXPECT_TRUE(prompter.messages.isEmpty());
}

const AnswerRow kAnswers[] = {
    {.name = "SaveThatCompletesLetsTheCallerGoOn",
     .answer = Answer::Save,
     .goesOn = true,
     .saves = 1},
    {.name = "SaveThatFailsKeepsTheWork",
     .answer = Answer::Save,
     .saveCompletes = false,
     .saves = 1},
    {.name = "DiscardGoesOnWithoutSaving", .answer = Answer::Discard, .goesOn = true},
    {.name = "CancelKeepsTheWorkWithoutSaving", .answer = Answer::Cancel},
};
INSTANTIATE_TEST_SUITE_P(Answers, SettleUnsavedChangesTest, ::testing::ValuesIn(kAnswers), RowName);

}  // namespace
}  // namespace qon::tools_common
