// SPDX-License-Identifier: MIT
// Every path a tool opens, given something that is not an ordinary file: a named pipe
// (which blocks whoever opens it for reading until another program writes), a device
// (/dev/zero, which never ends) or a folder. Each tool must refuse it at once and say
// which file and what it is. A watchdog fails the run if any of them blocks.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "broken_folder.h"
#include "qon/data/graphic_set.h"
#include "qon/data/paths.h"
#include "qon/graphic_set_creator/graphic_set_commands.h"
#include "qon/music_set_creator/music_set_commands.h"
#include "qon/set_selector/selection_lists_commands.h"
#include "qon/stage_editor/stage_project_commands.h"
#include "qon/test_support/language.h"
#include "qon/test_support/rows.h"
#include "qon/tools_common/prompter.h"
#include "qon/tools_common/testing/watchdog.h"

namespace qon::bad_content {
namespace {

QON_PRINT_ROWS_BY_NAME

namespace fs = std::filesystem;
using tools_common::ScriptedPrompter;
using tools_common::toQ;

// What takes the place of the file.
struct NotAFile {
    const char* name;
    std::function<void(const std::string& path)> make{};
    // The message names it so, in the language the tool speaks.
    const char* japanese = "";
    const char* english = "";
};

const NotAFile kNotAFile[] = {
    {.name = "ANamedPipe",
     .make = [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
     .japanese = "名前付きパイプ",
     .english = "named pipe"},
    {.name = "ADevice",
     .make = [](const std::string& path) { fs::create_symlink("/dev/zero", path); },
     .japanese = "デバイス",
     .english = "device"},
    {.name = "AFolder",
     .make = [](const std::string& path) { fs::create_directory(path); },
     .japanese = "フォルダ",
     .english = "folder"},
};

// One path a tool opens: which file of the starter folder is replaced, and how the tool
// comes to open it. `open` returns what the tool said: its messages, or for the set
// selector's listed sets the problem it shows beside the entry.
struct OpenPath {
    const char* name;
    std::function<std::string(const BrokenFolder&)> file{};
    std::function<std::vector<std::string>(const BrokenFolder&, ScriptedPrompter&)> open{};
    // The tool words some problems of a picture itself, in its own texts: those follow the
    // Qt translation of the running tool, not the data library's language.
    bool ownPictureWords = false;
};

std::vector<std::string> messages(const ScriptedPrompter& prompter) {
    std::vector<std::string> out;
    for (const QString& message : prompter.messages) out.push_back(message.toStdString());
    return out;
}

std::vector<std::string> openStageProject(const BrokenFolder& f, ScriptedPrompter& prompter) {
    stage_editor::StageProjectDocument document;
    stage_editor::BlockImages images;
    stage_editor::StageProjectCommands commands(document, images, prompter, f.path());
    prompter.fileAnswers.push_back(toQ(f.stageProject()));
    EXPECT_FALSE(commands.openProject());
    EXPECT_FALSE(document.state().ProjectOpen);
    return messages(prompter);
}

std::vector<std::string> openPalette(const BrokenFolder& f, ScriptedPrompter& prompter) {
    stage_editor::StageProjectDocument document;
    stage_editor::BlockImages images;
    stage_editor::StageProjectCommands commands(document, images, prompter, f.path());
    prompter.fileAnswers.push_back(toQ(f.graphicSet()));
    commands.openGraphicSet();
    return messages(prompter);
}

std::vector<std::string> openGraphicSet(const BrokenFolder& f, ScriptedPrompter& prompter) {
    graphic_set_creator::GraphicSetDocument document;
    graphic_set_creator::FileImageLoader loader;
    graphic_set_creator::GraphicSetCommands commands(document, prompter, loader);
    prompter.fileAnswers.push_back(toQ(f.graphicSet()));
    EXPECT_FALSE(commands.OpenSet());
    EXPECT_FALSE(document.fileOpened());
    return messages(prompter);
}

std::vector<std::string> chooseBitmap(const BrokenFolder& f, ScriptedPrompter& prompter) {
    graphic_set_creator::GraphicSetDocument document;
    graphic_set_creator::FileImageLoader loader;
    graphic_set_creator::GraphicSetCommands commands(document, prompter, loader);
    prompter.fileAnswers.push_back(toQ(f.bitmap(0)));
    EXPECT_FALSE(commands.ChooseSlot(0));
    EXPECT_TRUE(document.entry(0).empty());
    return messages(prompter);
}

std::vector<std::string> openMusicSet(const BrokenFolder& f, ScriptedPrompter& prompter) {
    music_set_creator::MusicSetDocument document;
    music_set_creator::MusicSetCommands commands(document, prompter);
    prompter.fileAnswers.push_back(toQ(f.musicSet()));
    EXPECT_FALSE(commands.OpenSet());
    EXPECT_FALSE(document.fileOpened());
    return messages(prompter);
}

std::vector<std::string> loadLists(const BrokenFolder& f, ScriptedPrompter& prompter) {
    set_selector::SelectionListsDocument document(f.path());
    set_selector::SelectionListsCommands commands(document, prompter);
    commands.loadLists();
    EXPECT_FALSE(document.isEditable(SetKind::Stage)) << "a list it could not read is kept";
    return messages(prompter);
}

std::vector<std::string> describeListedSet(const BrokenFolder& f, ScriptedPrompter&) {
    const set_selector::EntryInfo info = set_selector::DescribeEntry(SetKind::Music, f.musicSet());
    EXPECT_EQ(info.state, set_selector::EntryInfo::State::Unreadable);
    return {QuotedPath(f.musicSet()) + ": " + info.problem};
}

const OpenPath kOpenPaths[] = {
    {.name = "TesselProjectFile",
     .file = [](const BrokenFolder& f) { return f.stageProject(); },
     .open = openStageProject},
    {.name = "TesselStageFile",
     .file = [](const BrokenFolder& f) { return f.stageFile(1); },
     .open = openStageProject},
    {.name = "TesselGraphicSetFile",
     .file = [](const BrokenFolder& f) { return f.graphicSet(); },
     .open = openPalette},
    {.name = "TesselPaletteBitmap",
     .file = [](const BrokenFolder& f) { return f.bitmap(kFirstSpecialSlot); },  // Pin.bmp
     .open = openPalette,
     .ownPictureWords = true},
    {.name = "PavaneGraphicSetFile",
     .file = [](const BrokenFolder& f) { return f.graphicSet(); },
     .open = openGraphicSet},
    {.name = "PavaneBitmapOfTheSet",
     .file = [](const BrokenFolder& f) { return f.bitmap(kFirstSpecialSlot); },  // Pin.bmp
     .open = openGraphicSet,
     .ownPictureWords = true},
    {.name = "PavaneBitmapChoice",
     .file = [](const BrokenFolder& f) { return f.bitmap(0); },
     .open = chooseBitmap,
     .ownPictureWords = true},
    {.name = "OrvinthMusicSetFile",
     .file = [](const BrokenFolder& f) { return f.musicSet(); },
     .open = openMusicSet},
    {.name = "SorrelListFile",
     .file = [](const BrokenFolder& f) { return f.file("StageSet.sel"); },
     .open = loadLists},
    {.name = "SorrelListedSet",
     .file = [](const BrokenFolder& f) { return f.musicSet(); },
     .open = describeListedSet},
};

using Param = std::tuple<OpenPath, NotAFile, Language>;

class NotAFileInTools : public ::testing::TestWithParam<Param> {};

TEST_P(NotAFileInTools, IsRefusedAtOnceWithItsNameAndWhatItIs) {
    const auto& [where, what, language] = GetParam();
    const test_support::LanguageScope speaking(language);
    BrokenFolder folder(QON_STAGE_DIR);
    // Every bitmap path is read from the set before the file is replaced.
    const std::string path = where.file(folder);
    fs::remove(path);
    what.make(path);
    ScriptedPrompter prompter;
    std::vector<std::string> said;
    {
        tools_common::testing::Watchdog watchdog(std::chrono::seconds(20),
                                                 std::string(where.name) + " with " + what.name);
        said = where.open(folder, prompter);
    }
    ASSERT_EQ(said.size(), 1u) << "one message expected";
    RecordProperty("message", said.front());
    EXPECT_NE(said.front().find(FileNameOf(path)), std::string::npos) << said.front();
    const std::string& message = said.front();
    const bool named =
        language == Language::Japanese
            ? message.find(what.japanese) != std::string::npos
            : message.find(what.english) != std::string::npos ||
                  (where.ownPictureWords && message.find(what.japanese) != std::string::npos);
    EXPECT_TRUE(named) << "the message does not say what the file is:\n" << message;
}

INSTANTIATE_TEST_SUITE_P(
    bad_content, NotAFileInTools,
    ::testing::Combine(::testing::ValuesIn(kOpenPaths), ::testing::ValuesIn(kNotAFile),
                       ::testing::Values(Language::Japanese, Language::English)),
    [](const ::testing::TestParamInfo<Param>& info) {
        return std::string(std::get<0>(info.param).name) + "Is" + std::get<1>(info.param).name +
               (std::get<2>(info.param) == Language::Japanese ? "InJapanese" : "InEnglish");
    });

}  // namespace
}  // namespace qon::bad_content
