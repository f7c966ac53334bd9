// SPDX-License-Identifier: MIT
// Every starter stage can be cleared. qon-replay's scripted player test-plays each stage
// of each stage project staged in the game folder, in five seeds at once, and must clear
// it in at least four of them within five minutes of play (18,000 frames, counted from
// the first frame of play to the clear banner, misses included) without a game over.
// The frame counts of every seed go to the test log, passing or not.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "qon/data/error.h"
#include "qon/data/stage.h"
#include "qon/test_support/bytes.h"
#include "qon/test_support/rows.h"
#include "qon/test_support/scratch_folder.h"

extern char** environ;

namespace qon::clearability {
namespace {

namespace fs = std::filesystem;

constexpr int kSeeds = 5;
constexpr int kSeedsToClear = 4;
constexpr int kPlayFrames = 18000;
// Enough for the loading frame, the intro and the whole allowance of play; the run
// stops earlier, at the clear banner or a game over.
constexpr int kRunFrames = kPlayFrames + 2000;

struct StageRow {
    std::string name;  // the test's name: project file name and stage
    std::string projectPath;
    int stage = 1;
};

QON_PRINT_ROWS_BY_NAME

std::string testName(const fs::path& project, int stage) {
    std::string name;
    for (const char c : project.stem().string()) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) name.push_back(c);
    }
    return name + "Stage" + std::to_string(stage);
}

// Every stage of every stage project under the staged stages folder, in path order. A
// project that cannot be read gives one row for its stage 1, whose test then fails.
std::vector<StageRow> stagedStages() {
    std::vector<fs::path> projects;
    std::error_code error;
    for (fs::recursive_directory_iterator it(QON_STAGE_DIR "/sets/stages", error), end;
         !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".stp") projects.push_back(it->path());
    }
    std::sort(projects.begin(), projects.end());
    std::vector<StageRow> rows;
    for (const fs::path& project : projects) {
        int count = 1;
        try {
            count = ReadStageProjectHeader(project.string()).StageCount;
        } catch (const DataError&) {
        }
        for (int stage = 1; stage <= count; ++stage) {
            rows.push_back(StageRow{
                .name = testName(project, stage), .projectPath = project.string(), .stage = stage});
        }
    }
    return rows;
}

struct SeedOutcome {
    int seed = 0;
    bool cleared = false;
    std::string story;  // for the log
};

std::string stringField(const std::string& line, const std::string& key) {
    const std::string head = "\"" + key + "\":\"";
    const std::size_t at = line.find(head);
    if (at == std::string::npos) return {};
    const std::size_t from = at + head.size();
    return line.substr(from, line.find('"', from) - from);
}

int intField(const std::string& line, const std::string& key) {
    const std::string head = "\"" + key + "\":";
    const std::size_t at = line.find(head);
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + head.size());
}

// Reads a finished run: how long play lasted until the stage was cleared, or what
// stopped it.
SeedOutcome judge(int seed, int exitStatus, const std::string& out) {
    SeedOutcome outcome;
    outcome.seed = seed;
    if (exitStatus != 0) {
        outcome.story = "the run failed (exit status " + std::to_string(exitStatus) +
                        "): " + test_support::ReadBytes(out + "/stderr.txt");
        return outcome;
    }
    std::istringstream trace(test_support::ReadBytes(out + "/trace.jsonl"));
    int frame = 0;
    int firstPlay = -1;
    for (std::string line; std::getline(trace, line); ++frame) {
        const std::string screen = stringField(line, "screen");
        if (screen == "play" && firstPlay < 0) firstPlay = frame;
        const int played = firstPlay < 0 ? 0 : frame - firstPlay;
        if (screen == "gameover") {
            outcome.story = "game over after " + std::to_string(played) + " frames of play";
            return outcome;
        }
        if (screen == "clear") {
            const int livesLost = 4 - intField(line, "lives");
            outcome.cleared = played <= kPlayFrames;
            outcome.story = (outcome.cleared ? "cleared after " : "cleared too late, after ") +
                            std::to_string(played) + " frames of play, " +
                            std::to_string(livesLost) +
                            (livesLost == 1 ? " life lost" : " lives lost");
            return outcome;
        }
    }
    outcome.story = "not cleared within " + std::to_string(kPlayFrames) + " frames of play";
    return outcome;
}

// Starts qon-replay for one seed; its output goes to `out`. Returns the child, or -1.
pid_t startRun(const StageRow& row, int seed, const std::string& out) {
    const std::string seedText = std::to_string(seed);
    const std::vector<std::string> command = {QON_REPLAY,  QON_STAGE_DIR,
                                              "--play",    row.projectPath,
                                              "--stage",   std::to_string(row.stage),
                                              "--seed",    seedText,
                                              "--player",  seedText,
                                              "--stop-on", "clear",
                                              "--stop-on", "gameover",
                                              "--frames",  std::to_string(kRunFrames),
                                              "--out",     out};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (out + "/stderr.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? child : -1;
}

class StarterStage : public ::testing::TestWithParam<StageRow> {};

TEST_P(StarterStage, IsClearedInFourOfFiveSeeds) {
    const StageRow& row = GetParam();
    const test_support::ScratchFolder scratch;
    // The replay runner needs no real time, so the seeds run side by side.
    std::vector<pid_t> children;
    std::vector<std::string> outs;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        outs.push_back(scratch.folder("seed" + std::to_string(seed)));
        outs.back().pop_back();  // without the "/"
        children.push_back(startRun(row, seed, outs.back()));
    }
    std::vector<SeedOutcome> outcomes;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        const pid_t child = children[static_cast<std::size_t>(seed - 1)];
        int status = 0;
        const bool waited = child > 0 && waitpid(child, &status, 0) == child;
        const int exitStatus = waited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcomes.push_back(judge(seed, exitStatus, outs[static_cast<std::size_t>(seed - 1)]));
    }

    int cleared = 0;
    std::ostringstream log;
    for (const SeedOutcome& outcome : outcomes) {
        cleared += outcome.cleared ? 1 : 0;
        log << "  seed " << outcome.seed << ": " << outcome.story << "\n";
    }
    std::cout << row.projectPath << ", stage " << row.stage << ": cleared in " << cleared << " of "
              << kSeeds << " seeds\n"
              << log.str() << std::flush;
    EXPECT_GE(cleared, kSeedsToClear)
        << row.projectPath << ", stage " << row.stage << " is not clearable enough:\n"
        << log.str();
}

INSTANTIATE_TEST_SUITE_P(Staged, StarterStage, ::testing::ValuesIn(stagedStages()),
                         test_support::RowName);

TEST(StarterStages, AreStagedForTheClearabilityTest) {
    // Without this, a game folder staged without stage projects would pass with no test.
    EXPECT_FALSE(stagedStages().empty()) << "no stage project under " QON_STAGE_DIR "/sets/stages";
}

}  // namespace
}  // namespace qon::clearability
