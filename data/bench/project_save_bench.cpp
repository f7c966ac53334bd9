// SPDX-License-Identifier: MIT
// qon-save-bench: how long saving a big stage project over an existing one takes, step by
// step, and what the next readers pay: the stage editor opening it and the game loading
// one stage from its folder. A program, not a test: the times depend on the disk and on
// what else the machine is doing.
//
// Usage: qon-save-bench [stages] [--folder DIR] [--per-file]
//   stages      stage count of both projects (default 32767, the largest)
//   --folder    where to save (default: a fresh folder under the system's temporary folder)
//   --per-file  also time the way saves used to go, each file replaced and flushed on its
//               own (minutes for the largest projects)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "qon/data/project_save.h"
#include "qon/data/stage.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

qon::StageProject makeProject(int stages, int kind) {
    qon::StageProject project;
    project.projectName = "Bench";
    project.staffName = "Bench";
    project.stages.resize(static_cast<std::size_t>(stages));
    for (int stage = 0; stage < stages; ++stage) {
        qon::StageGrid& grid = project.stages[static_cast<std::size_t>(stage)];
        qon::ResetEditorGrid(grid);
        grid[static_cast<std::size_t>(stage % qon::kGridCells)].Kind =
            static_cast<std::int16_t>(kind);
    }
    return project;
}

}  // namespace

int main(int argc, char** argv) {
    int stages = 32767;
    std::string folder;
    bool perFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else if (arg == "--per-file") {
            perFile = true;
        } else {
            stages = std::atoi(argv[i]);
        }
    }
    if (stages < 1 || stages > 32767) {
        std::fprintf(stderr, "qon-save-bench: the stage count must be 1 to 32767\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const bool ownFolder = folder.empty();
    if (ownFolder) {
        std::string made = (fs::temp_directory_path() / "qon-save-bench.XXXXXX").string();
        if (::mkdtemp(made.data()) == nullptr) {
            std::perror("qon-save-bench");
            return 2;
        }
        folder = made;
    }
    if (folder.back() != '/') folder += '/';
    const std::string path = folder + "Bench.stp";

    try {
        qon::WriteStageProject(path, makeProject(stages, 1));
        const qon::StageProject next = makeProject(stages, 2);

        double written = 0;
        double synced = 0;
        const Clock::time_point start = Clock::now();
        qon::SaveStageProject(path, next, [&](const qon::ProjectSaveProgress& progress) {
            using Step = qon::ProjectSaveProgress::Step;
            if (progress.step == Step::Syncing && progress.done == 0) written = secondsSince(start);
            if (progress.step == Step::Syncing && progress.done == 1) synced = secondsSince(start);
            return true;
        });
        const double total = secondsSince(start);

        const Clock::time_point opening = Clock::now();
        const qon::StageProject opened = qon::OpenStageProject(path);
        const double open = secondsSince(opening);
        const Clock::time_point loading = Clock::now();
        qon::StageGrid grid;
        qon::ResetGrid(grid);
        qon::ReadStageForPlay(path, stages, grid);
        const double load = secondsSince(loading);

        // The usual save: the same project once more, after an edit of one stage.
        qon::StageProject edited = next;
        edited.stages.front()[0].Kind = qon::Kind::Bomb;
        const Clock::time_point resaving = Clock::now();
        qon::WriteStageProject(path, edited);
        const double resave = secondsSince(resaving);

        std::printf(
            "save of %d stages over %d others: %.2f s (writing %.2f s, flushing %.2f s, putting "
            "in place %.2f s); re-save after one edit %.2f s; open in the editor %.2f s; game "
            "stage load %.1f ms; target under 10 s: %s\n",
            stages, stages, total, written, synced - written, total - synced, resave, open,
            load * 1000, total < 10 ? "met" : "MISSED");
        std::fflush(stdout);
        if (opened.stages.size() != static_cast<std::size_t>(stages)) {
            std::fprintf(stderr, "qon-save-bench: the project read back is not the one saved\n");
            return 1;
        }

        if (perFile) {
            const Clock::time_point old = Clock::now();
            for (const qon::FileBytes& file : qon::FormatStageProjectFiles(path, next)) {
                qon::WriteFileAtomic(file.path, file.bytes);
            }
            std::printf("the same files replaced and flushed one by one: %.2f s\n",
                        secondsSince(old));
            std::fflush(stdout);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qon-save-bench: %s\n", error.what());
        return 1;
    }
    if (ownFolder) fs::remove_all(folder);
    return 0;
}
