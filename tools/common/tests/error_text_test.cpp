// SPDX-License-Identifier: MIT
// A data error in a message box's details: the file and the line framed in the same
// language as the reason the data library made.
#include "qon/tools_common/error_text.h"

#include <gtest/gtest.h>

#include "qon/data/error.h"
#include "qon/data/set_list.h"
#include "qon/test_support/language.h"
#include "qon/test_support/rows.h"

namespace qon::tools_common {
namespace {

using test_support::LanguageScope;
using test_support::RowName;

QON_PRINT_ROWS_BY_NAME

struct ErrorTextRow {
    const char* name;
    Language language = Language::Japanese;
    const char* bytes = "";  // of a set list that the library refuses
    const char* expected = "";
};

class ErrorTextOf : public ::testing::TestWithParam<ErrorTextRow> {};

TEST_P(ErrorTextOf, ASetListTheLibraryRefuses) {
    const ErrorTextRow& row = GetParam();
    const LanguageScope language(row.language);
    QString text;
    try {
        ParseSetList(row.bytes, "/s/%1.sel");
        ADD_FAILURE() << "nothing was thrown";
    } catch (const DataError& error) {
        text = ErrorText(error);
    }
    // "%1" in the path stays as it is: the text is filled in one pass.
    EXPECT_EQ(text.toStdString(), row.expected);
}

const ErrorTextRow kRows[] = {
    {.name = "JapaneseWithALine",
     .bytes = "2\r\n/a.stp\r\n",
     .expected =
         "\"/s/%1.sel\"\n3 行目：ファイルが途中で終わっています。2 件中 2 件目がありません。"},
    {.name = "EnglishWithALine",
     .language = Language::English,
     .bytes = "2\r\n/a.stp\r\n",
     .expected = "\"/s/%1.sel\"\nline 3: the file ends early: entry 2 of 2 expected"},
    {.name = "JapaneseCount",
     .bytes = "x\r\n",
     .expected = "\"/s/%1.sel\"\n1 行目：件数「x」が 0 から 32767 までの整数ではありません。"},
    {.name = "EnglishCount",
     .language = Language::English,
     .bytes = "x\r\n",
     .expected = "\"/s/%1.sel\"\nline 1: the entry count \"x\" is not a whole number from 0 to "
                 "32767"},
};
INSTANTIATE_TEST_SUITE_P(Languages, ErrorTextOf, ::testing::ValuesIn(kRows), RowName);

TEST(ErrorText, AWholeFileProblemHasNoLineLabel) {
    const LanguageScope language(Language::English);
    EXPECT_EQ(ErrorText(DataError("/s/a.sel", 0, "the file does not exist")).toStdString(),
              "\"/s/a.sel\"\nthe file does not exist");
}

}  // namespace
}  // namespace qon::tools_common
