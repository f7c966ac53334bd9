// SPDX-License-Identifier: MIT
// qon-play-bench: the median cost of one play frame (Bar and launch, motion, debris,
// collisions, DrawPlayScreen into the back buffer) on a busy field: a full grid, 49
// mini balls, flying debris, the fire ball trail and the combo text. Runs on the
// headless twin, so it measures play and drawing without presenting.
//
// Usage: qon-play-bench [frames] [--shot FILE]
//   --shot FILE  also writes the measured field, as drawn, to a .bmp file

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "qon/data/stage.h"
#include "qon/headless/headless.h"
#include "qon/play/game.h"

namespace {

using qon::play::Game;

// Writes a w x h picture (key colour at the border when `keyed`) and loads it back, so
// the surfaces carry colour keys exactly as a graphic set's do.
qon::media::SurfacePtr makePicture(qon::headless::HeadlessMedia& media,
                                   const std::filesystem::path& folder, const std::string& name,
                                   int w, int h, std::uint32_t colour, bool keyed) {
    qon::media::SurfacePtr s = media.CreateOffscreenSurface(w, h);
    if (keyed) {
        media.FillSurface(*s, media.ToSurfaceColor(qon::media::Rgb(248, 0, 248)));
        media.DrawBox(*s, 1, 1, w - 1, h - 1, colour, colour, 0, 0, 1);
    } else {
        media.FillSurface(*s, media.ToSurfaceColor(colour));
    }
    const std::string path = (folder / name).string();
    media.SaveBitmap(*s, path);
    return media.LoadSurfaceFromFile(path);
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) about "x" + std::string at -O2.
std::string pictureName(char prefix, int slot) {
    std::string name(1, prefix);
    name += std::to_string(slot);
    name += ".bmp";
    return name;
}

void buildBusyField(Game& game) {
    qon::play::PlayState& p = game.play;
    qon::play::ResetForNewGame(p);
    qon::ResetGrid(p.StageGrid);
    for (int cell = 0; cell < qon::kGridCells; ++cell) {
        qon::BlockCell& c = p.StageGrid[static_cast<std::size_t>(cell)];
        c.Kind = static_cast<std::int16_t>(cell % 9 == 4 ? 8 : 7);
        c.HitPoints = static_cast<std::int16_t>(c.Kind + 1);
        c.Alive = qon::kTrue;
    }
    for (int i = 0; i < qon::play::kMiniBallSlots; ++i) {
        qon::play::MiniBall& m = p.MiniBallRing.slots[static_cast<std::size_t>(i)];
        m = qon::play::MiniBall{20 + (i * 37) % 600, 40 + (i * 53) % 420, 6, 6,
                                1 + i % 6,           -(1 + (i * 5) % 6),  1};
    }
    for (int i = 0; i < qon::play::kDebrisSlots; ++i) {
        qon::play::SpawnDebris(p, static_cast<std::int16_t>(30 + i * 25),
                               static_cast<std::int16_t>(100 + i * 12));
    }
    p.Ball = qon::play::BallBody{300, 300, 12, 12, 4, -5};
    p.FireBallOn = true;
    p.MagnetOn = true;
    p.TrailBlink = true;
    p.Combo = 25;
    p.ComboTimer = 50;
    p.Score = 123450;
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 3000;
    std::string shotPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--shot" && i + 1 < argc) {
            shotPath = argv[++i];
        } else {
            frames = std::max(10, std::atoi(arg.c_str()));
        }
    }
    try {
        qon::headless::HeadlessMedia media(1);
        std::string reason;
        if (!media.InitFont(reason)) {
            std::fprintf(stderr, "qon-play-bench: %s\n", reason.c_str());
            return 1;
        }
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / "qon-play-bench";
        std::filesystem::create_directories(folder);

        Game game(media);
        for (int i = 0; i < 9; ++i) {
            game.images.BlockSurface[static_cast<std::size_t>(i)] =
                makePicture(media, folder, pictureName('b', i), 53, 15,
                            qon::media::Rgb(8 * (i + 1), 128, 0), false);
        }
        for (int i = 0; i < 11; ++i) {
            game.images.SpecialSurface[static_cast<std::size_t>(i)] =
                makePicture(media, folder, pictureName('s', i), 53, 15,
                            qon::media::Rgb(0, 8 * (i + 1), 200), true);
        }
        game.images.BallSurface =
            makePicture(media, folder, "ball.bmp", 12, 12, qon::media::Rgb(248, 248, 0), true);
        game.images.MiniBallSurface =
            makePicture(media, folder, "mini.bmp", 6, 6, qon::media::Rgb(0, 248, 248), true);
        game.images.BarSurface =
            makePicture(media, folder, "bar.bmp", 128, 12, qon::media::Rgb(200, 100, 48), false);
        std::filesystem::remove_all(folder);
        for (qon::media::SoundEffectPtr* effect :
             {&game.sounds.SeBar, &game.sounds.SeBlock, &game.sounds.SeBreak, &game.sounds.SeKin,
              &game.sounds.SeBlack}) {
            *effect = std::make_unique<qon::media::SoundEffect>();
        }

        buildBusyField(game);
        const qon::play::PlayState start = game.play;
        // Warm the text cache: every frame draws the same status line.
        qon::play::DrawPlayScreen(game);

        std::vector<double> micros;
        micros.reserve(static_cast<std::size_t>(frames));
        for (int i = 0; i < frames; ++i) {
            // Every frame starts from the same busy field; restoring it is not timed.
            game.play = start;
            game.play.TrailBlink = true;
            (void)media.TakeSounds();
            const auto begin = std::chrono::steady_clock::now();
            qon::play::BarAndLaunchStep(game);
            qon::play::MotionStep(game);
            qon::play::DebrisStep(game.play);
            (void)qon::play::CollisionStep(game);
            qon::play::DrawPlayScreen(game);
            const auto end = std::chrono::steady_clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
        }
        if (!shotPath.empty()) media.SaveBitmap(media.BackBuffer(), shotPath);
        std::sort(micros.begin(), micros.end());
        const double median = micros[micros.size() / 2];
        const double p90 = micros[micros.size() * 9 / 10];
        std::printf(
            "qon-play-bench: %d frames, median %.1f us, 90th percentile %.1f us, "
            "fastest %.1f us (target < 1000 us)\n",
            frames, median, p90, micros.front());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qon-play-bench: %s\n", error.what());
        return 1;
    }
}
