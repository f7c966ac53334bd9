// SPDX-License-Identifier: MIT
#include "qon/tools_common/command_line.h"

#include <gtest/gtest.h>

#include "qon/test_support/rows.h"

namespace qon::tools_common {
namespace {

using Action = ToolCommandLine::Action;
using test_support::RowName;

QON_PRINT_ROWS_BY_NAME

const ToolDescription kTakesAFile{.program = "Pavane",
                                  .summary = "グラフィックセットを作ります。",
                                  .fileArgument = "グラフィックセット.bgp",
                                  .fileMeaning = "起動時に開きます。"};
const ToolDescription kTakesNone{.program = "Sorrel", .summary = "一覧を編集します。"};

struct LineRow {
    const char* name;
    QStringList arguments{};
    bool takesAFile = true;
    Action action = Action::Run;
    QString file{};
    const char* printed = "";  // the printed text holds this
};

class CommandLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(CommandLine, IsReadAsAnAuthorMeansIt) {
    const LineRow& row = GetParam();
    const ToolCommandLine line =
        ParseToolCommandLine(row.arguments, row.takesAFile ? kTakesAFile : kTakesNone);
    EXPECT_EQ(line.action, row.action);
    EXPECT_EQ(line.file, row.file);
    EXPECT_TRUE(line.text.contains(QString::fromUtf8(row.printed))) << line.text.toStdString();
}

const LineRow kLines[] = {
    {.name = "NothingRunsWithoutAFile"},
    {.name = "AFileIsOpenedAtStart",
     .arguments = {QStringLiteral("/sets/森.bgp")},
     .file = QStringLiteral("/sets/森.bgp")},
    {.name = "HelpNamesTheFileArgumentAndTheOptions",
     .arguments = {QStringLiteral("--help")},
     .action = Action::Help,
     .printed = "使い方: Pavane [オプション] [グラフィックセット.bgp]"},
    {.name = "ShortHelp",
     .arguments = {QStringLiteral("-h")},
     .action = Action::Help,
     .printed = "--version"},
    {.name = "HelpWinsOverQtsOwnOptions",
     .arguments = {QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--help")},
     .action = Action::Help,
     .printed = "グラフィックセットを作ります。"},
    {.name = "VersionNamesTheProgram",
     .arguments = {QStringLiteral("--version")},
     .action = Action::Version,
     .printed = "Pavane (qon) "},
    {.name = "HelpOfAToolWithoutFiles",
     .arguments = {QStringLiteral("--help")},
     .takesAFile = false,
     .action = Action::Help,
     .printed = "使い方: Sorrel [オプション]\n"},
    {.name = "UnknownOptionIsRefused",
     .arguments = {QStringLiteral("--frobnicate")},
     .action = Action::Error,
     .printed = "知らないオプションです: --frobnicate"},
    {.name = "TwoFilesAreRefused",
     .arguments = {QStringLiteral("a.bgp"), QStringLiteral("b.bgp")},
     .action = Action::Error,
     .printed = "開けるファイルは 1 つだけです"},
    {.name = "AFileForAToolWithoutFilesIsRefused",
     .arguments = {QStringLiteral("a.stp")},
     .takesAFile = false,
     .action = Action::Error,
     .printed = "ファイルは指定できません"},
    {.name = "AFileNamedLikeAnOptionAfterTheEndOfOptions",
     .arguments = {QStringLiteral("--"), QStringLiteral("--help")},
     .file = QStringLiteral("--help")},
};
INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, ::testing::ValuesIn(kLines), RowName);

}  // namespace
}  // namespace qon::tools_common
