// SPDX-License-Identifier: MIT
// The broken files of the game suite opened in the tools: each tool must tell the author
// what is wrong, naming the file, through its message box; and a tool that does not read
// the broken part must open the rest without complaint.

#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "broken_folder.h"
#include "qon/data/paths.h"
#include "qon/data/set_list.h"
#include "qon/music_set_creator/music_set_editor.h"
#include "qon/pavane/graphic_set_creator.h"
#include "qon/set_selector/set_selection.h"
#include "qon/tessel/main_window.h"
#include "qon/tools/prompter.h"

namespace qon::bad_content {
namespace {

namespace fs = std::filesystem;
using tools::ScriptedPrompter;
using tools::toQ;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bad_content_tools_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

enum class Tool { TesselProject, TesselGraphics, Pavane, Orvinth, Sorrel };

struct Case {
    const char* name;
    Tool tool;
    // Breaks the folder; returns the file the tool is asked to open (for Sorrel: the
    // game folder, whose lists it reads) and the parts its message must contain. No
    // parts: the tool must open the file without any message.
    std::function<std::pair<std::string, std::vector<std::string>>(BrokenFolder&)> breakFolder;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

using Opened = std::pair<std::string, std::vector<std::string>>;

const Case kCases[] = {
    {"TesselProjectCountLetters", Tool::TesselProject,
     [](BrokenFolder& f) {
         ReplaceLine(f.stageProject(), 2, "abc");
         return Opened{f.stageProject(), {FileNameOf(f.stageProject()), "line 2", "abc"}};
     }},
    {"TesselStageTwoMissing", Tool::TesselProject,
     [](BrokenFolder& f) {
         fs::remove(f.stageFile(2));
         return Opened{f.stageProject(), {"Stage2.stg", "does not exist"}};
     }},
    {"TesselStageFileOfThreeLines", Tool::TesselProject,
     [](BrokenFolder& f) {
         KeepLines(f.stageFile(1), 3);
         return Opened{f.stageProject(), {"Stage1.stg", "line 4"}};
     }},
    {"TesselPaletteBitmapTruncated", Tool::TesselGraphics,
     [](BrokenFolder& f) {
         const std::string block = f.bitmap(0);
         WriteBytes(block, ReadBytes(block).substr(0, 40));
         return Opened{f.graphicSet(), {FileNameOf(block)}};
     }},
    {"TesselPaletteSpecialBitmapMissing", Tool::TesselGraphics,
     [](BrokenFolder& f) {
         const std::string special = f.bitmap(12);
         fs::remove(special);
         return Opened{f.graphicSet(), {FileNameOf(special)}};
     }},
    // The palette reads block and special block pictures only.
    {"TesselPaletteIgnoresMissingBall", Tool::TesselGraphics,
     [](BrokenFolder& f) {
         fs::remove(f.bitmap(20));
         return Opened{f.graphicSet(), {}};
     }},
    {"PavaneBitmapMissing", Tool::Pavane,
     [](BrokenFolder& f) {
         const std::string ball = f.bitmap(20);
         fs::remove(ball);
         return Opened{f.graphicSet(), {FileNameOf(ball)}};
     }},
    {"PavaneBitmapTruncated", Tool::Pavane,
     [](BrokenFolder& f) {
         const std::string block = f.bitmap(0);
         WriteBytes(block, ReadBytes(block).substr(0, 40));
         return Opened{f.graphicSet(), {FileNameOf(block)}};
     }},
    {"PavaneShortSet", Tool::Pavane,
     [](BrokenFolder& f) {
         KeepLines(f.graphicSet(), 10);
         return Opened{f.graphicSet(), {FileNameOf(f.graphicSet()), "line 11"}};
     }},
    {"OrvinthCount999", Tool::Orvinth,
     [](BrokenFolder& f) {
         ReplaceLine(f.musicSet(), 5, "999");
         return Opened{f.musicSet(), {FileNameOf(f.musicSet()), "999"}};
     }},
    {"OrvinthCountLetters", Tool::Orvinth,
     [](BrokenFolder& f) {
         ReplaceLine(f.musicSet(), 5, "abc");
         return Opened{f.musicSet(), {FileNameOf(f.musicSet()), "line 5"}};
     }},
    {"SorrelListCountLetters", Tool::Sorrel,
     [](BrokenFolder& f) {
         WriteBytes(f.file("StageSet.sel"), "abc\r\n");
         return Opened{f.path(), {"StageSet.sel", "line 1"}};
     }},
    {"SorrelListShorterThanCount", Tool::Sorrel,
     [](BrokenFolder& f) {
         WriteBytes(f.file("MusicSet.sel"), "3\r\n" + f.musicSet() + "\r\n");
         return Opened{f.path(), {"MusicSet.sel", "line 3"}};
     }},
    {"SorrelListMissing", Tool::Sorrel,
     [](BrokenFolder& f) {
         fs::remove(f.file("StageSet.sel"));
         return Opened{f.path(), {"StageSet.sel", "does not exist"}};
     }},
    {"SorrelListEmpty", Tool::Sorrel,
     [](BrokenFolder& f) {
         WriteBytes(f.file("BitMapSet.sel"), "0\r\n");
         return Opened{f.path(), {}};
     }},
};

class BadContentInTools : public ::testing::TestWithParam<Case> {};

TEST_P(BadContentInTools, ReportsTheFileAndTheProblem) {
    App();
    const Case& c = GetParam();
    BrokenFolder folder(QON_STAGE_DIR);
    const auto [path, parts] = c.breakFolder(folder);
    ScriptedPrompter prompter;
    prompter.fileAnswers.push_back(toQ(path));

    switch (c.tool) {
        case Tool::TesselProject: {
            tessel::TesselWindow window(prompter, folder.path());
            window.OpenFile_Click();
            // A project that could not be read is not half opened.
            if (!parts.empty()) {
                EXPECT_FALSE(window.model().state().ProjectOpen);
            }
            break;
        }
        case Tool::TesselGraphics: {
            tessel::TesselWindow window(prompter, folder.path());
            window.OpenGRA_Click();
            break;
        }
        case Tool::Pavane: {
            pavane::GraphicSetDocument document;
            pavane::FileImageLoader loader;
            pavane::GraphicSetCreator creator(document, prompter, loader);
            creator.OpenSet();
            // A set that stopped part way is tied to no file: overwriting asks for a name.
            if (!parts.empty()) {
                EXPECT_FALSE(document.fileOpened());
            }
            break;
        }
        case Tool::Orvinth: {
            orvinth::MusicSetEditor editor(prompter);
            EXPECT_FALSE(editor.OpenSet());
            EXPECT_FALSE(editor.fileOpened());
            break;
        }
        case Tool::Sorrel: {
            sorrel::SetSelector selector(path, prompter);
            selector.loadLists();
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

INSTANTIATE_TEST_SUITE_P(bad_content, BadContentInTools, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qon::bad_content
