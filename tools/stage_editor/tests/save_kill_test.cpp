// SPDX-License-Identifier: MIT
// Killing the editor while it saves a project over another one: at every step of the save,
// and at random moments, the project then opens wholly old or wholly new, in the editor and
// in the game's stage loading, and the next open or save leaves nothing of the save behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "painting.h"
#include "qon/data/project_save.h"
#include "qon/data/testing/step_operations.h"
#include "qon/stage_editor/stage_project_document.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/scratch_folder.h"

namespace qon::stage_editor {
namespace {

namespace fs = std::filesystem;
using data_testing::StepOperations;
using test_support::ReadBytes;
using test_support::ScratchFolder;
using test_support::WriteBytes;

using Snapshot = std::map<std::string, std::string>;
const std::string kFolderMark = "<a folder>";

Snapshot TakeSnapshot(const std::string& folder) {
    Snapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        snapshot[fs::relative(entry.path(), folder).string()] =
            entry.is_directory() ? kFolderMark : ReadBytes(entry.path().string());
    }
    return snapshot;
}

// Puts the folder back to the snapshot, fast: no flushes, only what a snapshot holds.
void Restore(const std::string& folder, const Snapshot& snapshot) {
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
    for (const auto& [name, bytes] : snapshot) {
        if (bytes == kFolderMark) {
            fs::create_directory(folder + name);
        } else {
            WriteBytes(folder + name, bytes);
        }
    }
}

// Two projects that differ in name, staff, stage count and every stage's paint.
StageProject MakeProject(const std::string& name, int stages, int kind) {
    StageProjectDocument document;
    document.newProject(name, static_cast<std::int16_t>(stages), name + " staff");
    for (int stage = 1; stage <= stages; ++stage) {
        test::PaintCell(document, stage % kGridColumns, stage % kGridRows, kind);
        document.stepGo();
    }
    StageProject project;
    project.projectName = name;
    project.staffName = name + " staff";
    for (int stage = 1; stage <= stages; ++stage) project.stages.push_back(document.grid(stage));
    return project;
}

const StageProject kAlpha = MakeProject("Alpha", 7, 3);
const StageProject kBeta = MakeProject("Beta", 12, 109);

// Same staff and stages; with `byName`, the same project name too (the game never reads it).
bool SameProject(const StageProject& read, const StageProject& expected, bool byName = true) {
    if ((byName && read.projectName != expected.projectName) ||
        read.staffName != expected.staffName || read.stages.size() != expected.stages.size()) {
        return false;
    }
    for (std::size_t stage = 0; stage < read.stages.size(); ++stage) {
        for (int cell = 0; cell < kGridCells; ++cell) {
            if (read.stages[stage][static_cast<std::size_t>(cell)].Kind !=
                expected.stages[stage][static_cast<std::size_t>(cell)].Kind) {
                return false;
            }
        }
    }
    return true;
}

// An editor holding the project, as if the author had painted it.
std::unique_ptr<StageProjectDocument> EditorWith(const StageProject& project) {
    auto document = std::make_unique<StageProjectDocument>();
    document->newProject(project.projectName, static_cast<std::int16_t>(project.stages.size()),
                         project.staffName);
    for (std::size_t stage = 0; stage < project.stages.size(); ++stage) {
        for (int cell = 0; cell < kGridCells; ++cell) {
            document->setCellKind(static_cast<int>(stage) + 1, cell,
                                  project.stages[stage][static_cast<std::size_t>(cell)].Kind);
        }
    }
    return document;
}

// The project as the editor's document opens it.
StageProject OpenInEditor(const std::string& path) {
    StageProjectDocument document;
    const std::optional<std::string> error = document.openProject(path);
    EXPECT_EQ(error, std::nullopt);
    StageProject read;
    read.projectName = document.state().ProjectName;
    read.staffName = document.state().StaffName;
    for (int stage = 1; stage <= document.state().StageCount; ++stage) {
        read.stages.push_back(document.grid(stage));
    }
    return read;
}

// The project as the game meets it, stage by stage from the first, each through the stage
// loading path. Play does not read the project name.
StageProject LoadInGame(const std::string& path) {
    StageProject read;
    for (int stage = 1;; ++stage) {
        StageGrid grid;
        ResetGrid(grid);
        const StageProjectHeader header = ReadStageForPlay(path, stage, grid);
        read.staffName = header.stageStaff;
        read.stages.push_back(grid);
        if (stage >= header.StageCount) return read;
    }
}

// One direction of the test: project `from` in the folder with progress in its save file,
// then `to` saved over it.
struct Direction {
    const StageProject* from;
    const StageProject* to;
    Snapshot before;  // the folder with `from`
    Snapshot after;   // the folder once `to` is saved over it
};

Direction MakeDirection(const StageProject& from, const StageProject& to) {
    ScratchFolder scratch;
    const std::string path = scratch.file("Blocks.stp");
    WriteStageProject(path, from);
    WriteBytes(scratch.file("qonsave.sav"), " 4 \r\n 2 \r\n 1 \r\n 7 \r\n");
    Direction direction{&from, &to, TakeSnapshot(scratch.path()), {}};
    WriteStageProject(path, to);
    direction.after = TakeSnapshot(scratch.path());
    return direction;
}

enum class Outcome { Old, New, SavedAgain };

// The first thing after a kill, by `round`: the editor opens the project, the game loads its
// stages, or the editor saves it once more. What that sees must be wholly the old or wholly
// the new project, the folder must then hold exactly that project and nothing else, and the
// other reader must agree.
Outcome Check(const std::string& folder, const Direction& direction, int round) {
    const std::string path = folder + "Blocks.stp";
    StageProject read;
    bool isNew = false;
    Outcome outcome = Outcome::SavedAgain;
    switch (round % 3) {
        case 0:
            read = OpenInEditor(path);
            isNew = SameProject(read, *direction.to);
            EXPECT_TRUE(isNew || SameProject(read, *direction.from)) << "the editor read a mix";
            outcome = isNew ? Outcome::New : Outcome::Old;
            break;
        case 1: {
            const StageProject played = LoadInGame(path);
            isNew = SameProject(played, *direction.to, false);
            EXPECT_TRUE(isNew || SameProject(played, *direction.from, false))
                << "the game played a mix";
            outcome = isNew ? Outcome::New : Outcome::Old;
            read = OpenInEditor(path);
            EXPECT_TRUE(SameProject(read, isNew ? *direction.to : *direction.from));
            break;
        }
        default:
            WriteStageProject(path, *direction.to);
            read = OpenInEditor(path);
            isNew = true;
            EXPECT_TRUE(SameProject(read, *direction.to));
            break;
    }
    EXPECT_EQ(TakeSnapshot(folder), isNew ? direction.after : direction.before)
        << "the folder is not exactly the " << (isNew ? "new" : "old") << " project";
    EXPECT_TRUE(SameProject(LoadInGame(path), read, false)) << "the game reads another project";
    return outcome;
}

// Runs `work` in a child process and returns how it ended.
template <typename Work>
int InChild(Work&& work, std::chrono::microseconds killAfter = std::chrono::microseconds(-1)) {
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    if (killAfter.count() >= 0) {
        std::this_thread::sleep_for(killAfter);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(SaveKill, AtEveryStepOfTheSaveAndOfTheNextReadersRepair) {
    // Small projects keep the steps few: two stages over three and back.
    const StageProject two = MakeProject("Two", 2, 5);
    const StageProject three = MakeProject("Three", 3, 110);
    int outcomes[3] = {0, 0, 0};
    int repairsKilled = 0;
    for (const Direction& direction : {MakeDirection(two, three), MakeDirection(three, two)}) {
        for (int step = 0;; ++step) {
            SCOPED_TRACE("save killed before step " + std::to_string(step));
            ScratchFolder scratch;
            const std::string path = scratch.file("Blocks.stp");
            Restore(scratch.path(), direction.before);
            const int status = InChild([&] {
                StepOperations ops;
                ops.beforeStep = [step](int at, std::string_view, const std::string&) {
                    if (at == step) raise(SIGKILL);
                };
                SaveStageProject(path, *direction.to, {}, &ops);
            });
            if (!WIFSIGNALED(status)) break;  // the save ran to its end before that step
            // The reader that repairs the folder is killed too, at a step that moves on
            // with the save's step; the next reader must still find a whole project.
            const int repairStep = step % 17;
            const int repairStatus = InChild([&] {
                StepOperations ops;
                ops.beforeStep = [repairStep](int at, std::string_view, const std::string&) {
                    if (at == repairStep) raise(SIGKILL);
                };
                OpenStageProject(path, &ops);
            });
            repairsKilled += WIFSIGNALED(repairStatus) ? 1 : 0;
            ++outcomes[static_cast<int>(Check(scratch.path(), direction, step))];
            if (HasFailure()) return;
        }
    }
    EXPECT_GT(outcomes[static_cast<int>(Outcome::Old)], 0);
    EXPECT_GT(outcomes[static_cast<int>(Outcome::New)], 0);
    EXPECT_GT(repairsKilled, 0);
}

TEST(SaveKill, AtTwoHundredRandomMoments) {
    const Direction directions[] = {MakeDirection(kAlpha, kBeta), MakeDirection(kBeta, kAlpha)};
    const std::unique_ptr<StageProjectDocument> editors[] = {EditorWith(kBeta), EditorWith(kAlpha)};
    ScratchFolder scratch;
    const std::string path = scratch.file("Blocks.stp");
    // How long a whole save takes here, child process included, sets the range of the kills.
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 6; ++i) {
        Restore(scratch.path(), directions[i % 2].before);
        InChild([&] { editors[i % 2]->writeProject(path); });
    }
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - started) /
                       6;

    std::mt19937 random(7);
    int outcomes[3] = {0, 0, 0};
    int killed = 0;
    int round = 0;
    double range = static_cast<double>(whole.count());
    // Rounds whose save ends before its kill count as well, but only kills count to 200.
    for (; killed < 200 && round < 1000; ++round) {
        const Direction& direction = directions[round % 2];
        Restore(scratch.path(), direction.before);
        const auto delay =
            std::chrono::microseconds(random() % static_cast<unsigned>(std::max(1.0, range)));
        const int status = InChild([&] { editors[round % 2]->writeProject(path); }, delay);
        killed += WIFSIGNALED(status) ? 1 : 0;
        // The range follows how long saves take right now, so that most rounds end in a kill
        // and the kills spread over the whole save.
        range *= WIFSIGNALED(status) ? 1.03 : 0.9;
        ++outcomes[static_cast<int>(Check(scratch.path(), direction, round))];
        if (HasFailure()) {
            ADD_FAILURE() << "round " << round << ", killed after " << delay.count() << " us";
            return;
        }
    }
    std::printf(
        "%d saves of about %lld us, %d of them killed; then %d old, %d new, %d saved "
        "again\n",
        round, static_cast<long long>(whole.count()), killed,
        outcomes[static_cast<int>(Outcome::Old)], outcomes[static_cast<int>(Outcome::New)],
        outcomes[static_cast<int>(Outcome::SavedAgain)]);
    EXPECT_EQ(killed, 200);
    // Kills land on both sides of the commit point.
    EXPECT_GT(outcomes[static_cast<int>(Outcome::Old)], 3);
    EXPECT_GT(outcomes[static_cast<int>(Outcome::New)], 3);
}

}  // namespace
}  // namespace qon::stage_editor
