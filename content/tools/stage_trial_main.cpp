// SPDX-License-Identifier: MIT
// qon-stage-trial: plays every stage of the listed stage projects with the simple
// scripted player, several seeds each, and says how long each took and how often it was
// cleared.
//
//   qon-stage-trial GAMEFOLDER [--seeds N] [--frames N] [--need N] [--project K]
//                   [--stage N] [--shots DIR] [--show]
//
// GAMEFOLDER is a staged game folder (build/qon): its "StageSet.sel" names the projects
// and the first entry of its "BitMapSet.sel" gives the pictures. Seeds run from 1 to
// --seeds (default 5); a try may take --frames frames (default 18000, five minutes).
//
// One line per stage: the hit points its blocks hold, the frames each seed took ("lost"
// when the last life went, "time" at the limit), the clears, the median (a failed try
// counts as longer than any clear) and the balls lost. Broken stage rules are listed
// above the line; --show prints what was left of each failed try; --shots writes a
// picture of each stage as it starts (p1-s01.bmp, ...). The exit status is 1 when a
// stage was cleared fewer than --need times (default: all seeds but one), 2 for bad
// arguments or content.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "qon/data/paths.h"
#include "qon/data/set_list.h"
#include "qon/data/stage.h"
#include "stage_rules.h"
#include "stage_trial.h"

namespace {

using qon::autoplay::StageTry;
using qon::autoplay::StageTryResult;

struct Options {
    std::string gameFolder;
    int seeds = 5;
    int frames = 18000;
    int need = -1;
    int onlyProject = 0;  // 1-based; 0 for all
    int onlyStage = 0;
    std::string shots;
    bool showLeftOver = false;
};

[[noreturn]] void usage() {
    std::fprintf(stderr,
                 "usage: qon-stage-trial GAMEFOLDER [--seeds N] [--frames N] [--need N] "
                 "[--project K] [--stage N] [--shots DIR] [--show]\n");
    std::exit(2);
}

int parseNumber(const char* text, const char* what) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 1000000) {
        std::fprintf(stderr, "qon-stage-trial: %s takes a number, not \"%s\"\n", what, text);
        std::exit(2);
    }
    return static_cast<int>(value);
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seeds" && hasValue) {
            options.seeds = std::max(1, parseNumber(argv[++i], "--seeds"));
        } else if (arg == "--frames" && hasValue) {
            options.frames = parseNumber(argv[++i], "--frames");
        } else if (arg == "--need" && hasValue) {
            options.need = parseNumber(argv[++i], "--need");
        } else if (arg == "--project" && hasValue) {
            options.onlyProject = parseNumber(argv[++i], "--project");
        } else if (arg == "--stage" && hasValue) {
            options.onlyStage = parseNumber(argv[++i], "--stage");
        } else if (arg == "--shots" && hasValue) {
            options.shots = argv[++i];
        } else if (arg == "--show") {
            options.showLeftOver = true;
        } else if (options.gameFolder.empty() && !arg.starts_with("--")) {
            options.gameFolder = arg;
        } else {
            usage();
        }
    }
    if (options.gameFolder.empty()) usage();
    if (options.gameFolder.back() != '/') options.gameFolder += '/';
    if (options.need < 0) options.need = std::max(1, options.seeds - 1);
    return options;
}

int hitPoints(const qon::StageGrid& grid) {
    int hits = 0;
    for (const qon::BlockCell& cell : grid) {
        if (cell.Kind >= qon::Kind::kNormalFirst && cell.Kind <= qon::Kind::kNormalLast)
            hits += cell.Kind + 1;
    }
    return hits;
}

std::string outcome(const StageTryResult& result) {
    if (result.cleared) return std::to_string(result.frames);
    return result.lostAll ? "lost" : "time";
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    std::vector<std::string> projects;
    std::string graphicSet;
    try {
        projects = qon::ReadSetList(options.gameFolder + "StageSet.sel");
        const auto sets = qon::ReadSetList(options.gameFolder + "BitMapSet.sel");
        if (projects.empty() || sets.empty()) throw std::runtime_error("a selection list is empty");
        graphicSet = qon::ResolveListEntry(options.gameFolder, sets.front());
        for (std::string& project : projects) {
            project = qon::ResolveListEntry(options.gameFolder, project);
        }
        if (!options.shots.empty()) std::filesystem::create_directories(options.shots);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qon-stage-trial: %s\n", e.what());
        return 2;
    }

    int stagesTried = 0;
    int stagesShort = 0;
    for (std::size_t k = 0; k < projects.size(); ++k) {
        if (options.onlyProject != 0 && options.onlyProject != static_cast<int>(k) + 1) continue;
        qon::StageProject project;
        try {
            project = qon::ReadStageProject(projects[k]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "qon-stage-trial: %s\n", e.what());
            return 2;
        }
        std::printf("%s (%zu stages)\n", project.projectName.c_str(), project.stages.size());
        for (int stage = 1; stage <= static_cast<int>(project.stages.size()); ++stage) {
            if (options.onlyStage != 0 && options.onlyStage != stage) continue;
            const qon::StageGrid& grid = project.stages[static_cast<std::size_t>(stage - 1)];
            for (const std::string& broken : qon::content::CheckStageRules(grid)) {
                std::printf("  stage %2d breaks a rule: %s\n", stage, broken.c_str());
            }
            std::vector<StageTryResult> results;
            for (int seed = 1; seed <= options.seeds; ++seed) {
                StageTry setup;
                setup.projectPath = projects[k];
                setup.graphicSetPath = graphicSet;
                setup.stage = stage;
                setup.seed = static_cast<std::uint32_t>(seed);
                setup.frameLimit = options.frames;
                if (!options.shots.empty() && seed == 1) {
                    char file[64];
                    std::snprintf(file, sizeof file, "p%zu-s%02d.bmp", k + 1, stage);
                    setup.shotPath = (std::filesystem::path(options.shots) / file).string();
                }
                try {
                    results.push_back(qon::autoplay::PlayStageTry(setup));
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "qon-stage-trial: stage %d: %s\n", stage, e.what());
                    return 2;
                }
                if (options.showLeftOver && !results.back().cleared) {
                    std::printf("  stage %2d, seed %d, left over:\n%s", stage, seed,
                                results.back().leftOver.c_str());
                }
            }

            int clears = 0;
            int ballsLost = 0;
            std::vector<int> lengths;
            for (const StageTryResult& r : results) {
                clears += r.cleared ? 1 : 0;
                ballsLost += r.ballsLost;
                lengths.push_back(r.cleared ? r.frames : options.frames + 1);
            }
            std::sort(lengths.begin(), lengths.end());
            const int median = lengths[lengths.size() / 2];
            std::printf("  stage %2d (%3d hits):", stage, hitPoints(grid));
            for (const StageTryResult& r : results) std::printf(" %6s", outcome(r).c_str());
            std::printf("  | cleared %d/%zu, median %s, balls lost %d\n", clears, results.size(),
                        median > options.frames ? "-" : std::to_string(median).c_str(), ballsLost);
            std::fflush(stdout);
            ++stagesTried;
            if (clears < options.need) ++stagesShort;
        }
    }
    std::printf("%d of %d stages cleared fewer than %d times\n", stagesShort, stagesTried,
                options.need);
    return stagesShort == 0 ? 0 : 1;
}
