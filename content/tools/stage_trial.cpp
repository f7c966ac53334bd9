// SPDX-License-Identifier: MIT
#include "stage_trial.h"

#include <stdexcept>

#include "qon/autoplay/simple_player.h"
#include "qon/data/stage.h"
#include "qon/headless/headless.h"
#include "qon/play/game.h"

namespace qon::autoplay {

namespace {

// The headless platform with the player's hands on the controls.
class PlayerMedia final : public headless::HeadlessMedia {
  public:
    using HeadlessMedia::HeadlessMedia;
    Move move;

    void ReadController() override {
        m_controller = media::ControllerState{};
        m_controller.ControllerX = static_cast<std::int16_t>(move.stick);
    }
    bool IsKeyDown(int virtualKey) override {
        return virtualKey == media::Vk::Space && move.launch;
    }
};

View viewOf(const play::PlayState& p) {
    View view;
    view.ballX = p.Ball.X;
    view.ballY = p.Ball.Y;
    view.ballSize = p.Ball.Width;
    view.barX = p.Bar.X;
    view.barY = p.Bar.Y;
    view.barWidth = p.Bar.Width;
    return view;
}

std::string leftOverOf(const play::PlayState& p) {
    std::string text;
    for (int row = 0; row < 18; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            const BlockCell& c = p.StageGrid[static_cast<std::size_t>(row * kGridColumns + column)];
            char mark = '.';
            if (c.Alive != kFalse) {
                if (c.Kind == Kind::kUnbreakable) {
                    mark = '#';
                } else if (c.Kind <= Kind::kNormalLast) {
                    mark = static_cast<char>('0' + c.HitPoints);
                } else {
                    mark = '*';
                }
            }
            text += mark;
        }
        text += '\n';
    }
    return text;
}

}  // namespace

StageTryResult PlayStageTry(const StageTry& setup) {
    PlayerMedia media;
    play::Game game(media);
    game.stageProjectPath = setup.projectPath;
    game.graphicSetPath = setup.graphicSetPath;
    play::PlayState& p = game.play;
    play::SeedRandom(p, setup.seed);
    p.StageNumber = static_cast<std::int16_t>(setup.stage);
    play::ResetBallAndBar(p);
    // Every frame draws the status line, as the game does.
    std::string reason;
    if (!media.InitFont(reason)) throw std::runtime_error(reason);
    play::LoadStage(game);
    if (!setup.shotPath.empty()) {
        play::DrawPlayScreen(game);
        media.SaveBitmap(media.BackBuffer(), setup.shotPath);
    }

    // A seed of its own for the player, so that its choices do not repeat the game's.
    SimplePlayer player(setup.seed * 2654435761u + 12345u);
    StageTryResult result;
    result.frames = setup.frameLimit;
    for (int frame = 0; frame < setup.frameLimit; ++frame) {
        media.move = player.next(viewOf(p));
        play::BarAndLaunchStep(game);
        play::MotionStep(game);
        play::DebrisStep(p);
        if (play::CollisionStep(game)) {
            ++result.ballsLost;
            --p.Lives;
            play::ResetBallAndBar(p);
            if (p.Lives <= 0) {
                result.lostAll = true;
                result.frames = frame + 1;
                break;
            }
        }
        if (play::IsStageClear(p)) {
            result.cleared = true;
            result.frames = frame + 1;
            break;
        }
        play::DrawPlayScreen(game);
    }
    result.leftOver = leftOverOf(p);
    return result;
}

}  // namespace qon::autoplay
