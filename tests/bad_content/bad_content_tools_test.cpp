// SPDX-License-Identifier: MIT
// The broken files of the game suite opened in the tools: each tool must tell the author
// what is wrong, naming the file, through its message box, with details in the language the
// tool speaks; and a tool that does not read the broken part must open the rest without
// complaint.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "broken_folder.h"
#include "qon/data/paths.h"
#include "qon/data/set_list.h"
#include "qon/graphic_set_creator/graphic_set_commands.h"
#include "qon/music_set_creator/music_set_commands.h"
#include "qon/set_selector/selection_lists_commands.h"
#include "qon/stage_editor/stage_project_commands.h"
#include "qon/test_support/language.h"
#include "qon/test_support/rows.h"
#include "qon/tools_common/prompter.h"

namespace qon::bad_content {
namespace {

namespace fs = std::filesystem;
using tools_common::ScriptedPrompter;
using tools_common::toQ;

// Each tool's commands over its document, as its window drives them, without the window.
enum class Tool { StageProject, StageGraphics, GraphicSet, MusicSet, SelectionLists };

struct Case {
    const char* name;
    Tool tool = Tool::StageProject;
    // Breaks the folder; returns the file the tool is asked to open (for the set selector:
    // the game folder, whose lists it reads) and the parts its message must contain in
    // either language (the file's name). No parts: the tool must open the file without any
    // message.
    std::function<std::pair<std::string, std::vector<std::string>>(BrokenFolder&)> breakFolder{};
    // What the details must say besides, in the language the tool speaks.
    std::vector<std::string> japanese{};
    std::vector<std::string> english{};
};

QON_PRINT_ROWS_BY_NAME

using Opened = std::pair<std::string, std::vector<std::string>>;

const Case kCases[] = {
    {.name = "StageEditorProjectCountLetters",
     .tool = Tool::StageProject,
     .breakFolder =
         [](BrokenFolder& f) {
             ReplaceLine(f.stageProject(), 2, "abc");
             // The stage editor tells it in its own language.
             return Opened{f.stageProject(), {FileNameOf(f.stageProject())}};
         },
     .japanese = {"2 行目", "ステージ数"},
     .english = {"line 2", "the stage count"}},
    {.name = "StageEditorStageTwoMissing",
     .tool = Tool::StageProject,
     .breakFolder =
         [](BrokenFolder& f) {
             fs::remove(f.stageFile(2));
             return Opened{f.stageProject(), {"Stage2.stg"}};
         },
     .japanese = {"ファイルがありません"},
     .english = {"does not exist"}},
    {.name = "StageEditorStageFileOfThreeLines",
     .tool = Tool::StageProject,
     .breakFolder =
         [](BrokenFolder& f) {
             KeepLines(f.stageFile(1), 3);
             return Opened{f.stageProject(), {"Stage1.stg"}};
         },
     .japanese = {"4 行目", "途中で終わっています"},
     .english = {"line 4", "ends early"}},
    {.name = "StageEditorPaletteBitmapTruncated",
     .tool = Tool::StageGraphics,
     .breakFolder =
         [](BrokenFolder& f) {
             const std::string block = f.bitmap(0);
             WriteBytes(block, ReadBytes(block).substr(0, 40));
             return Opened{f.graphicSet(), {FileNameOf(block)}};
         }},
    {.name = "StageEditorPaletteSpecialBitmapMissing",
     .tool = Tool::StageGraphics,
     .breakFolder =
         [](BrokenFolder& f) {
             const std::string special = f.bitmap(12);
             fs::remove(special);
             return Opened{f.graphicSet(), {FileNameOf(special)}};
         }},
    // The palette reads block and special block pictures only.
    {.name = "StageEditorPaletteIgnoresMissingBall",
     .tool = Tool::StageGraphics,
     .breakFolder =
         [](BrokenFolder& f) {
             fs::remove(f.bitmap(20));
             return Opened{f.graphicSet(), {}};
         }},
    {.name = "GraphicSetCreatorBitmapMissing",
     .tool = Tool::GraphicSet,
     .breakFolder =
         [](BrokenFolder& f) {
             const std::string ball = f.bitmap(20);
             fs::remove(ball);
             return Opened{f.graphicSet(), {FileNameOf(ball)}};
         }},
    {.name = "GraphicSetCreatorBitmapTruncated",
     .tool = Tool::GraphicSet,
     .breakFolder =
         [](BrokenFolder& f) {
             const std::string block = f.bitmap(0);
             WriteBytes(block, ReadBytes(block).substr(0, 40));
             return Opened{f.graphicSet(), {FileNameOf(block)}};
         }},
    {.name = "GraphicSetCreatorShortSet",
     .tool = Tool::GraphicSet,
     .breakFolder =
         [](BrokenFolder& f) {
             KeepLines(f.graphicSet(), 10);
             return Opened{f.graphicSet(), {FileNameOf(f.graphicSet())}};
         },
     .japanese = {"11 行目"},
     .english = {"line 11"}},
    {.name = "MusicSetCreatorCount999",
     .tool = Tool::MusicSet,
     .breakFolder =
         [](BrokenFolder& f) {
             ReplaceLine(f.musicSet(), 5, "999");
             return Opened{f.musicSet(), {FileNameOf(f.musicSet()), "999"}};
         }},
    {.name = "MusicSetCreatorCountLetters",
     .tool = Tool::MusicSet,
     .breakFolder =
         [](BrokenFolder& f) {
             ReplaceLine(f.musicSet(), 5, "abc");
             return Opened{f.musicSet(), {FileNameOf(f.musicSet())}};
         },
     .japanese = {"5 行目"},
     .english = {"line 5"}},
    {.name = "SetSelectorListCountLetters",
     .tool = Tool::SelectionLists,
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("StageSet.sel"), "abc\r\n");
             return Opened{f.path(), {"StageSet.sel"}};
         },
     .japanese = {"1 行目"},
     .english = {"line 1"}},
    {.name = "SetSelectorListShorterThanCount",
     .tool = Tool::SelectionLists,
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("MusicSet.sel"), "3\r\n" + f.musicSet() + "\r\n");
             return Opened{f.path(), {"MusicSet.sel"}};
         },
     .japanese = {"3 行目"},
     .english = {"line 3"}},
    {.name = "SetSelectorListMissing",
     .tool = Tool::SelectionLists,
     .breakFolder =
         [](BrokenFolder& f) {
             fs::remove(f.file("StageSet.sel"));
             return Opened{f.path(), {"StageSet.sel"}};
         },
     .japanese = {"ファイルがありません"},
     .english = {"does not exist"}},
    {.name = "SetSelectorListEmpty",
     .tool = Tool::SelectionLists,
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("BitMapSet.sel"), "0\r\n");
             return Opened{f.path(), {}};
         }},
};

using Param = std::tuple<Case, Language>;

class BadContentInTools : public ::testing::TestWithParam<Param> {};

TEST_P(BadContentInTools, ReportsTheFileAndTheProblem) {
    const auto& [c, language] = GetParam();
    const test_support::LanguageScope speaking(language);
    BrokenFolder folder(QON_STAGE_DIR);
    auto [path, parts] = c.breakFolder(folder);
    if (!parts.empty()) {
        const std::vector<std::string>& words =
            language == Language::Japanese ? c.japanese : c.english;
        parts.insert(parts.end(), words.begin(), words.end());
    }
    ScriptedPrompter prompter;
    prompter.fileAnswers.push_back(toQ(path));

    switch (c.tool) {
        case Tool::StageProject: {
            stage_editor::StageProjectDocument document;
            stage_editor::BlockImages images;
            stage_editor::StageProjectCommands commands(document, images, prompter, folder.path());
            commands.openProject();
            // A project that could not be read is not half opened.
            if (!parts.empty()) {
                EXPECT_FALSE(document.state().ProjectOpen);
            }
            break;
        }
        case Tool::StageGraphics: {
            stage_editor::StageProjectDocument document;
            stage_editor::BlockImages images;
            stage_editor::StageProjectCommands commands(document, images, prompter, folder.path());
            commands.openGraphicSet();
            break;
        }
        case Tool::GraphicSet: {
            graphic_set_creator::GraphicSetDocument document;
            graphic_set_creator::FileImageLoader loader;
            graphic_set_creator::GraphicSetCommands commands(document, prompter, loader);
            commands.OpenSet();
            // A set that stopped part way is tied to no file: overwriting asks for a name.
            if (!parts.empty()) {
                EXPECT_FALSE(document.fileOpened());
            }
            break;
        }
        case Tool::MusicSet: {
            music_set_creator::MusicSetDocument document;
            music_set_creator::MusicSetCommands commands(document, prompter);
            EXPECT_FALSE(commands.OpenSet());
            EXPECT_FALSE(document.fileOpened());
            break;
        }
        case Tool::SelectionLists: {
            set_selector::SelectionListsDocument document(path);
            set_selector::SelectionListsCommands commands(document, prompter);
            commands.loadLists();
            break;
        }
    }

    if (parts.empty()) {
        EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join("\n").toStdString();
        return;
    }
    ASSERT_EQ(prompter.messages.size(), 1) << prompter.messages.join("\n").toStdString();
    const std::string message = prompter.messages.front().toStdString();
    RecordProperty("message", message);
    for (const std::string& part : parts) {
        EXPECT_NE(message.find(part), std::string::npos)
            << "the message does not mention \"" << part << "\":\n"
            << message;
    }
}

INSTANTIATE_TEST_SUITE_P(bad_content, BadContentInTools,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(Language::Japanese,
                                                              Language::English)),
                         [](const ::testing::TestParamInfo<Param>& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == Language::Japanese ? "InJapanese"
                                                                                   : "InEnglish");
                         });

}  // namespace
}  // namespace qon::bad_content
