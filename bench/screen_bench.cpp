// SPDX-License-Identifier: MIT
// qon-screen-bench: what one frame of each screen around play costs to draw into the
// back buffer: the logo with its bar wipe, the title's slide-in and main menu, the
// configuration, load and save menus, the intro and clear banners, the pause and game
// over overlays, a staff roll page with its bar wipe and the "Now Loading" notice.
//
// The real shell runs every screen on the headless twin, which draws with the same
// raster code as the SDL platform but presents nothing and never sleeps. A frame is the
// time from the end of one FlipScreen to the start of the next: the drawing, the menu
// poll and the event pump, as the player's machine runs them before it can present.
//
// Usage: qon-screen-bench [frames] [GAMEFOLDER]
//   frames      samples per screen (default 600)
//   GAMEFOLDER  the staged game folder (default: the one this build stages)
// The folder is only read: the configuration and save screens are left before they
// write, and the save file of the chosen stage set must already exist.

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "qon/data/save_file.h"
#include "qon/headless/headless.h"
#include "qon/play/game.h"
#include "qon/shell/shell.h"

#ifndef QON_STAGE_DIR
#error "QON_STAGE_DIR must name the staged game folder"
#endif

namespace {

using Clock = std::chrono::steady_clock;
using qon::headless::InputEvent;
namespace Vk = qon::media::Vk;

constexpr double kTargetMs = 1.0;

// Thrown out of FlipScreen once a measured run has its frames. Not a std::exception, so
// no handler of the game mistakes it for a failure of its own.
struct RunComplete {};

// The headless twin with a stopwatch around each frame.
class TimedMedia final : public qon::headless::HeadlessMedia {
  public:
    // Starts a run: the next frame is timed from now, and the flip that completes
    // `frames` samples ends the run by throwing RunComplete.
    void begin(int frames) {
        m_samples.clear();
        m_drawing.clear();
        m_limit = frames;
        m_frameStart = Clock::now();
        m_lastFill = m_frameStart;
    }
    const std::vector<double>& samples() const { return m_samples; }
    // Per frame, the time from its last fill of the back buffer to its flip: the drawing
    // alone, without what the screen did before it began to draw.
    const std::vector<double>& drawingSamples() const { return m_drawing; }

    void FillSurface(qon::media::Surface& surface, std::uint32_t nativeColour) override {
        if (&surface == &BackBuffer()) m_lastFill = Clock::now();
        HeadlessMedia::FillSurface(surface, nativeColour);
    }

    void FlipScreen() override {
        const Clock::time_point drawn = Clock::now();
        m_samples.push_back(millis(drawn - m_frameStart));
        m_drawing.push_back(millis(drawn - std::max(m_frameStart, m_lastFill)));
        HeadlessMedia::FlipScreen();
        // The records only grow; nobody reads them here.
        (void)TakeSounds();
        (void)TakeMusic();
        if (static_cast<int>(m_samples.size()) >= m_limit) throw RunComplete{};
        m_frameStart = Clock::now();
    }

  private:
    static double millis(Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    }

    std::vector<double> m_samples;
    std::vector<double> m_drawing;
    int m_limit = INT_MAX;
    Clock::time_point m_frameStart;
    Clock::time_point m_lastFill;
};

// Cursor moves every 12 frames (Down held for 2), so the menus draw both the highlighted
// and the plain text of their items. Neither Space nor Enter: nothing is ever chosen.
std::vector<InputEvent> cursorWalk(int fromFrame, int frames) {
    std::vector<InputEvent> events;
    for (int f = fromFrame + 6; f < fromFrame + frames; f += 12) {
        events.push_back({f, InputEvent::Type::KeyDown, Vk::Down, {}});
        events.push_back({f + 2, InputEvent::Type::KeyUp, Vk::Down, {}});
    }
    return events;
}

struct ScreenRow {
    std::string name;
    qon::bench::Summary summary;
    // False for a row that times more than a frame's drawing (file reads), shown for
    // information only.
    bool judged = true;
};

class ScreenBench {
  public:
    ScreenBench(TimedMedia& media, int frames) : m_media(media), m_frames(frames) {}

    // Runs `screen` until `frames` frames are timed (or it returns, as a whole run) and
    // gives each sample to `sort` with its index in the run.
    void run(int frames, const std::vector<InputEvent>& script, const std::function<void()>& screen,
             const std::function<void(int, double)>& sort) {
        m_media.SetScript(script, false);
        m_media.begin(frames);
        try {
            screen();
        } catch (const RunComplete&) {
        }
        const std::vector<double>& samples = m_media.samples();
        for (std::size_t i = 0; i < samples.size(); ++i) sort(static_cast<int>(i), samples[i]);
        m_media.SetScript({}, false);
    }

    // A screen whose every frame is alike: `m_frames` samples of it.
    void measure(const std::string& name, const std::function<void()>& screen) {
        std::vector<double> all;
        run(m_frames, cursorWalk(m_media.framesPresented(), m_frames), screen,
            [&](int, double ms) { all.push_back(ms); });
        add(name, all);
    }

    void add(const std::string& name, const std::vector<double>& samples, bool judged = true) {
        m_rows.push_back({name, qon::bench::Summarise(samples), judged});
    }

    int frames() const { return m_frames; }
    const std::vector<ScreenRow>& rows() const { return m_rows; }

  private:
    TimedMedia& m_media;
    int m_frames;
    std::vector<ScreenRow> m_rows;
};

void runAll(TimedMedia& media, qon::shell::GameShell& shell, ScreenBench& bench) {
    qon::play::Game& game = shell.game();
    const int frames = bench.frames();

    // The logo: 13 reveal frames, 250 hold frames, 13 hide frames, without input.
    {
        std::vector<double> wipe, hold;
        const int runs = std::max(1, (frames + 249) / 250);
        for (int r = 0; r < runs; ++r) {
            bench.run(
                INT_MAX, {}, [&] { shell.OpeningLogo(); },
                [&](int i, double ms) { (i < 13 || i >= 263 ? wipe : hold).push_back(ms); });
        }
        bench.add("logo, bar wipe", wipe);
        bench.add("logo, hold", hold);
    }

    // The title: 114 slide-in frames, then the main menu.
    {
        std::vector<double> slide, menu;
        constexpr int kSlideFrames = 114;
        bench.run(
            kSlideFrames + frames, cursorWalk(media.framesPresented() + kSlideFrames, frames),
            [&] { (void)shell.TitleMenu(); },
            [&](int i, double ms) { (i < kSlideFrames ? slide : menu).push_back(ms); });
        bench.add("title, slide-in", slide);
        bench.add("title, main menu", menu);
    }

    bench.measure("configuration", [&] { shell.ConfigScreen(); });
    bench.measure("load game menu", [&] { (void)shell.LoadGameMenu(); });

    // The screens over the field need a stage and its graphic set.
    game.play.StageNumber = 1;
    qon::play::LoadStage(game);
    bench.measure("stage intro banner", [&] { qon::play::ShowStageIntro(game); });
    bench.measure("stage clear banner", [&] { qon::play::ShowStageClear(game); });
    bench.measure("pause overlay", [&] { (void)qon::play::PauseMenu(game); });
    bench.measure("stage-clear save menu", [&] { shell.StageClearSave(); });
    bench.measure("game over overlay", [&] { (void)qon::play::GameOverMenu(game); });

    // The staff roll with Space held: each page is 13 reveal frames, one hold frame and
    // 13 hide frames, so nearly every frame carries the wipe.
    {
        std::vector<double> wipe;
        const std::vector<InputEvent> holdSpace = {{0, InputEvent::Type::KeyDown, Vk::Space, {}}};
        while (static_cast<int>(wipe.size()) < frames) {
            std::vector<InputEvent> script = holdSpace;
            script[0].frame = media.framesPresented();
            bench.run(
                INT_MAX, script, [&] { shell.PlayEnding(); },
                [&](int i, double ms) {
                    if (i % 27 != 13) wipe.push_back(ms);
                });
        }
        bench.add("staff roll page, bar wipe", wipe);
    }

    // "Now Loading" before every title: reading the lists and "Init.bse", the fill and
    // the notice. The run ends at the notice's flip, before the music set loads, so
    // this goes last.
    {
        std::vector<double> loading, drawing;
        for (int r = 0; r < frames; ++r) {
            bench.run(
                1, {}, [&] { (void)shell.PrepareGame(); },
                [&](int, double ms) { loading.push_back(ms); });
            drawing.push_back(media.drawingSamples().front());
        }
        bench.add("Now Loading, drawing", drawing);
        bench.add("Now Loading, with lists and Init.bse", loading, false);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 600;
    std::string folder = QON_STAGE_DIR;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos) {
            frames = std::max(10, std::atoi(arg.c_str()));
        } else {
            folder = arg;
        }
    }
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr,
                     "qon-screen-bench: %s: no such game folder (build qon_content first)\n",
                     folder.c_str());
        return 1;
    }
    try {
        TimedMedia media;
        qon::shell::GameShell shell(media, folder);
        if (!shell.StartMedia() || !shell.PrepareGame()) {
            for (const std::string& m : media.TakeMessages()) {
                std::fprintf(stderr, "qon-screen-bench: %s\n", m.c_str());
            }
            return 1;
        }
        // The save screens would create a missing save file: only measure a folder
        // that has one, so a benchmark never writes into a player's folder.
        const std::string savePath = qon::SaveFilePath(shell.game().stageProjectPath);
        if (!std::filesystem::exists(savePath)) {
            std::fprintf(stderr, "qon-screen-bench: %s: the save file is missing\n",
                         savePath.c_str());
            return 1;
        }
        ScreenBench bench(media, frames);
        runAll(media, shell, bench);
        for (const std::string& m : media.TakeMessages()) {
            std::fprintf(stderr, "qon-screen-bench: the game said: %s\n", m.c_str());
        }

        std::printf("qon-screen-bench on %s (load average %s)\n", folder.c_str(),
                    qon::bench::LoadAverage().c_str());
        std::printf("%-38s %7s %9s %9s %9s\n", "screen (ms per frame)", "frames", "median",
                    "90th pct", "worst");
        double worstP90 = 0;
        std::string slowest;
        for (const ScreenRow& row : bench.rows()) {
            std::printf("%-38s %7zu %9.3f %9.3f %9.3f%s\n", row.name.c_str(), row.summary.count,
                        row.summary.median, row.summary.p90, row.summary.worst,
                        row.judged ? "" : "  (not judged)");
            if (row.judged && row.summary.p90 > worstP90) {
                worstP90 = row.summary.p90;
                slowest = row.name;
            }
        }
        // The worst column holds the first frame of a screen too (text not yet cached,
        // files read); the target is about the frames a player sees all the time.
        std::printf(
            "qon-screen-bench: %s: slowest 90th percentile %.3f ms (%s), target < %.1f ms "
            "for every screen\n",
            worstP90 < kTargetMs ? "PASS" : "FAIL", worstP90, slowest.c_str(), kTargetMs);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qon-screen-bench: %s\n", error.what());
        return 1;
    }
}
