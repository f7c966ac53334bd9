// SPDX-License-Identifier: MIT
// Broken game folders played through qon-replay: for each, the game must show a message
// that names the broken file and what is wrong with it, and then either go back to the
// title or end in order. A crash, a hang or a silent end fails the case.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "broken_folder.h"
#include "qon/data/paths.h"
#include "qon/test_support/scratch_folder.h"
#include "replay_run.h"

namespace qon::bad_content {
namespace {

namespace fs = std::filesystem;

// Space skips the logo, Space again chooses "New Game" once the title menu is up.
constexpr const char* kNewGameScript = "0 down Space\n30 up Space\n150 down Space\n155 up Space\n";
// As above; stage 1 is empty and clears at once, then Down four times and Space choose
// "NEXT" in the stage-clear save screen.
constexpr const char* kClearStageOneScript =
    "0 down Space\n30 up Space\n150 down Space\n155 up Space\n"
    "700 down Down\n705 up Down\n720 down Down\n725 up Down\n740 down Down\n745 up Down\n"
    "760 down Down\n765 up Down\n800 down Space\n805 up Space\n";
constexpr int kFrames = 1500;
constexpr int kTimeLimitSeconds = 60;

enum class Outcome {
    // The game goes back to the title after the message (stage content).
    BackToTitle,
    // The game may end (status 1, the message in the closing line) or go back to the
    // title; both are orderly (start-up content without which nothing can be played).
    EndsOrBackToTitle,
    // The game says what is wrong and plays on: the title, then a stage (music).
    PlaysOn,
    // The game goes on after the message, to the title or to the next stage (a save
    // file that cannot be read or written costs the progress, not the game).
    GoesOn,
};

struct Case {
    const char* name;
    // Breaks the folder; returns the parts the first message must contain (the file
    // name and what is wrong).
    std::function<std::vector<std::string>(BrokenFolder&)> breakFolder = {};
    Outcome outcome = Outcome::BackToTitle;
    const char* script = kNewGameScript;
    bool readOnly = false;  // run with the game folder mounted read-only
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::string> named(const std::string& path, std::string problem) {
    return {FileNameOf(path), std::move(problem)};
}

const Case kCases[] = {
    {.name = "StageListMissing",
     .breakFolder =
         [](BrokenFolder& f) {
             fs::remove(f.file("StageSet.sel"));
             return named(f.file("StageSet.sel"), "does not exist");
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "MusicListMissing",
     .breakFolder =
         [](BrokenFolder& f) {
             fs::remove(f.file("MusicSet.sel"));
             return named(f.file("MusicSet.sel"), "does not exist");
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "StageListEmpty",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("StageSet.sel"), "0\r\n");
             return named(f.file("StageSet.sel"), "no set");
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "MusicListEmpty",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("MusicSet.sel"), "0\r\n");
             return named(f.file("MusicSet.sel"), "no set");
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "GraphicListZeroBytes",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("BitMapSet.sel"), "");
             return named(f.file("BitMapSet.sel"), "ends early");
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "ListNamesMissingSet",
     .breakFolder =
         [](BrokenFolder& f) {
             const std::string gone = f.path() + "sets/Gone.bgp";
             WriteBytes(f.file("BitMapSet.sel"), "1\r\n" + gone + "\r\n");
             return named(gone, "does not exist");
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "SettingsWithLetters",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("Init.bse"), "0\r\nab\r\n0\r\n");
             return std::vector<std::string>{"Init.bse", "line 2"};
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "SettingsBeyondSixteenBitsSaysTheRangeAndWhatToDo",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("Init.bse"), "99999\r\n0\r\n0\r\n");
             return std::vector<std::string>{"Init.bse", "line 1", "out of range",
                                             "from 0 to 32767", "configuration screen"};
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "ListedPathWithATrailingSpaceShowsIt",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.file("BitMapSet.sel"), "1\r\n" + f.graphicSet() + " \r\n");
             return std::vector<std::string>{FileNameOf(f.graphicSet()) + "\\x20\"",
                                             "does not exist"};
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "ListedPathWithACarriageReturnShowsIt",
     .breakFolder =
         [](BrokenFolder& f) {
             // CR CR LF: the line keeps one CR, which a terminal would act on.
             WriteBytes(f.file("MusicSet.sel"), "1\r\n" + f.musicSet() + "\r\r\n");
             return std::vector<std::string>{FileNameOf(f.musicSet()) + "\\r\"", "does not exist"};
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "SettingsIsAFolder",
     .breakFolder =
         [](BrokenFolder& f) {
             fs::remove(f.file("Init.bse"));
             fs::create_directory(f.file("Init.bse"));
             return std::vector<std::string>{"Init.bse", "folder"};
         },
     .outcome = Outcome::EndsOrBackToTitle},
    {.name = "ProjectCountLetters",
     .breakFolder =
         [](BrokenFolder& f) {
             ReplaceLine(f.stageProject(), 2, "abc");
             return named(f.stageProject(), "line 2");
         },
     .outcome = Outcome::BackToTitle},
    {.name = "StageTwoMissing",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.stageFile(1), EmptyStageFile());
             fs::remove(f.stageFile(2));
             return named(f.stageFile(2), "does not exist");
         },
     .outcome = Outcome::BackToTitle,
     .script = kClearStageOneScript},
    {.name = "StageFileWithBareCrLineEndsIsNamedSo",
     .breakFolder =
         [](BrokenFolder& f) {
             std::string bytes = ReadBytes(f.stageFile(1));
             std::string bare;
             for (const char c : bytes) {
                 if (c != '\n') bare.push_back(c);
             }
             WriteBytes(f.stageFile(1), bare);
             return named(f.stageFile(1), "bare CR");
         },
     .outcome = Outcome::BackToTitle},
    {.name = "StageFileOfThreeLines",
     .breakFolder =
         [](BrokenFolder& f) {
             KeepLines(f.stageFile(1), 3);
             return named(f.stageFile(1), "ends early");
         },
     .outcome = Outcome::BackToTitle},
    {.name = "BitmapMissing",
     .breakFolder =
         [](BrokenFolder& f) {
             const std::string ball = f.bitmap(20);
             fs::remove(ball);
             return named(ball, "does not exist");
         },
     .outcome = Outcome::BackToTitle},
    {.name = "BitmapTruncated",
     .breakFolder =
         [](BrokenFolder& f) {
             const std::string block = f.bitmap(0);
             WriteBytes(block, ReadBytes(block).substr(0, 40));
             return named(block, "BMP");
         },
     .outcome = Outcome::BackToTitle},
    {.name = "MusicCount999",
     .breakFolder =
         [](BrokenFolder& f) {
             ReplaceLine(f.musicSet(), 5, "999");
             return named(f.musicSet(), "ends early");
         },
     .outcome = Outcome::PlaysOn},
    {.name = "SaveFileOfTwoLines",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.stageFile(1), EmptyStageFile());
             const std::string save = FolderOf(f.stageProject()) + "qonsave.sav";
             WriteBytes(save, " 1 \r\n 1 \r\n");
             return named(save, "ends early");
         },
     .outcome = Outcome::GoesOn,
     .script = kClearStageOneScript},
    {.name = "ReadOnlyFolderWithoutSettings",
     .breakFolder =
         [](BrokenFolder& f) {
             fs::remove(f.file("Init.bse"));
             return std::vector<std::string>{"Init.bse", "Read-only"};
         },
     .outcome = Outcome::PlaysOn,
     .script = kNewGameScript,
     .readOnly = true},
    {.name = "ReadOnlyFolderAtTheSaveScreen",
     .breakFolder =
         [](BrokenFolder& f) {
             WriteBytes(f.stageFile(1), EmptyStageFile());
             return named(FolderOf(f.stageProject()) + "qonsave.sav", "Read-only");
         },
     .outcome = Outcome::GoesOn,
     .script = kClearStageOneScript,
     .readOnly = true},
};

// True when this process may make a private mount namespace (root with CAP_SYS_ADMIN, as
// in the usual test container).
bool CanMountReadOnly() {
    const std::string probe =
        (fs::temp_directory_path() / ("qon-bad-probe-" + std::to_string(getpid()))).string();
    fs::create_directories(probe);
    const std::string command =
        "unshare -m sh -c 'mount --bind -o ro \"$0\" \"$0\"' " + probe + " 2>/dev/null";
    const bool ok = std::system(command.c_str()) == 0;
    fs::remove(probe);
    return ok;
}

// Runs qon-replay on `folder` with `scriptText`, optionally with the folder read-only.
ReplayRun Replay(const BrokenFolder& folder, const std::string& name, const char* scriptText,
                 bool readOnly) {
    const test_support::ScratchFolder scratch;
    const std::string runDir = scratch.folder("run-" + name);
    const std::string script = runDir + "script.txt";
    WriteBytes(script, scriptText);
    std::vector<std::string> command;
    if (readOnly) {
        // Bind the folder read-only over itself in a private mount namespace: every
        // write into it fails with EROFS, exactly as on a read-only installation.
        command = {
            "unshare",    "-m", "sh", "-c", "mount --bind -o ro \"$0\" \"$0\" && exec \"$@\"",
            folder.path()};
    }
    for (const std::string& arg :
         {std::string(QON_REPLAY), folder.path(), script, std::string("--frames"),
          std::to_string(kFrames), std::string("--out"), runDir}) {
        command.push_back(arg);
    }
    return RunReplay(command, runDir, kTimeLimitSeconds);
}

// The control: the untouched copy plays without a message, so a message in the cases
// below comes from what they broke.
TEST(bad_content_Control, IntactFolderPlaysWithoutMessages) {
    BrokenFolder folder(QON_STAGE_DIR);
    const ReplayRun run = Replay(folder, "Control", kNewGameScript, false);
    ASSERT_FALSE(run.timedOut);
    ASSERT_FALSE(run.signalled) << run.stderrText;
    ASSERT_FALSE(run.trace.empty());
    bool played = false;
    for (const TraceLine& line : run.trace) {
        EXPECT_TRUE(line.messages.empty()) << line.messages.front();
        played = played || line.screen == "play";
    }
    EXPECT_TRUE(played) << "the script did not start a game";
    EXPECT_EQ(run.exitStatus, 0);
}

class BadGameFolder : public ::testing::TestWithParam<Case> {};

TEST_P(BadGameFolder, ShowsWhatIsWrongAndRecoversOrEndsInOrder) {
    const Case& c = GetParam();
    if (c.readOnly && !CanMountReadOnly()) {
        GTEST_SKIP() << "no private mount namespace here to make the folder read-only";
    }
    BrokenFolder folder(QON_STAGE_DIR);
    const std::vector<std::string> parts = c.breakFolder(folder);
    const ReplayRun run = Replay(folder, c.name, c.script, c.readOnly);

    ASSERT_TRUE(run.started) << "qon-replay could not be started";
    ASSERT_FALSE(run.timedOut) << "the game hung";
    ASSERT_FALSE(run.signalled) << "the game crashed:\n" << run.stderrText;
    ASSERT_FALSE(run.trace.empty()) << "no trace; stderr:\n" << run.stderrText;
    ASSERT_TRUE(run.trace.back().closing) << "the trace has no closing line";

    // The first message must name the file and the problem.
    std::size_t messageLine = run.trace.size();
    for (std::size_t i = 0; i < run.trace.size() && messageLine == run.trace.size(); ++i) {
        if (!run.trace[i].messages.empty()) messageLine = i;
    }
    ASSERT_LT(messageLine, run.trace.size()) << "the game showed no message (silent end)";
    const std::string& message = run.trace[messageLine].messages.front();
    RecordProperty("message", message);
    // A raw CR would send a terminal's cursor back over the message.
    EXPECT_EQ(message.find('\r'), std::string::npos) << "a raw CR in the message";
    for (const std::string& part : parts) {
        EXPECT_NE(message.find(part), std::string::npos)
            << "the message does not mention \"" << part << "\":\n"
            << message;
    }

    auto reachedAfterMessage = [&](const std::string& screen) {
        for (std::size_t i = messageLine + 1; i < run.trace.size(); ++i) {
            if (run.trace[i].screen == screen) return true;
        }
        return false;
    };
    const int end = run.trace.back().end;
    switch (c.outcome) {
        case Outcome::BackToTitle:
            EXPECT_TRUE(reachedAfterMessage("title")) << "no title after: " << message;
            EXPECT_EQ(end, 0);
            break;
        case Outcome::EndsOrBackToTitle:
            if (end == 0) {
                EXPECT_TRUE(reachedAfterMessage("title")) << "no title after: " << message;
            } else {
                EXPECT_EQ(end, 1) << "unexpected exit status";
            }
            break;
        case Outcome::PlaysOn:
            EXPECT_TRUE(reachedAfterMessage("title"));
            EXPECT_TRUE(reachedAfterMessage("play")) << "the game did not play on";
            EXPECT_EQ(end, 0);
            break;
        case Outcome::GoesOn:
            EXPECT_TRUE(reachedAfterMessage("title") || reachedAfterMessage("intro") ||
                        reachedAfterMessage("play"))
                << "the game did not go on after: " << message;
            EXPECT_EQ(end, 0);
            break;
    }
    EXPECT_EQ(run.exitStatus, end) << "exit status and closing line disagree";
}

INSTANTIATE_TEST_SUITE_P(bad_content, BadGameFolder, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qon::bad_content
