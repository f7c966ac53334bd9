// SPDX-License-Identifier: MIT
#include "qon/shell/scripted_player.h"

#include <algorithm>

#include "qon/play/game.h"

namespace qon::shell {

namespace {

// Facts of play the player counts on; the trace shows neither, but they never change.
constexpr int kBallSize = play::BallBody{}.Width;
constexpr int kBarSpeed = play::BarBody{}.Speed;
// Inside a corner's reach the ball's edge overlaps the Bar's end column; this far in,
// it cannot, even with the Bar half a step off its aim.
constexpr int kSafeInset = kBallSize + kBarSpeed / 2;
// How far the Bar carries a resting ball before launching it, either way.
constexpr int kLaunchReach = 96;
constexpr std::size_t kRememberedDepartures = 16;

}  // namespace

PlayerView ViewOf(const play::Game& game) {
    const play::PlayState& p = game.play;
    PlayerView view;
    view.screen = game.screen;
    view.ballX = p.Ball.X;
    view.ballY = p.Ball.Y;
    view.ballDX = p.Ball.DX;
    view.ballDY = p.Ball.DY;
    view.barX = p.Bar.X;
    view.barY = p.Bar.Y;
    view.barWidth = p.Bar.Width;
    view.cursor = game.menu.MenuCursor;
    for (int i = 0; i < game.menu.MenuCount; ++i) {
        view.items.push_back(game.menu.MenuItems[static_cast<std::size_t>(i)].Text);
    }
    return view;
}

ScriptedPlayer::ScriptedPlayer(std::uint32_t seed) : m_random(seed) {}

int ScriptedPlayer::randomBetween(int low, int high) {
    // The raw output of the generator is the same everywhere; the standard library's
    // distributions are not, and a run must read the same on every machine.
    const auto span = static_cast<std::uint32_t>(high - low + 1);
    return low + static_cast<int>(m_random() % span);
}

void ScriptedPlayer::chooseOffset(int barWidth, bool corner) {
    const int half = barWidth / 2;
    if (corner) {
        // The ball meets the top row and the end column at once, which sends it back
        // the way it came, set beside the Bar: a shift of a few pixels that puts it on
        // a path of its own.
        const int side = randomBetween(0, 1) == 0 ? -1 : 1;
        m_offset = side * (half + randomBetween(-1, 1));
        return;
    }
    const int inside = std::max(0, half - kSafeInset);
    m_offset = randomBetween(-inside, inside);
}

int ScriptedPlayer::LandingCentre(const PlayerView& view) {
    int x = view.ballX;
    int y = view.ballY;
    int dx = view.ballDX;
    // The same steps as the ball's motion, walls included; blocks on the way are not
    // foreseen, which the next frame's look corrects.
    for (int step = 0; view.ballDY > 0 && y + kBallSize <= view.barY && step < 1000; ++step) {
        x += dx;
        y += view.ballDY;
        if (x < play::kLeftWall) {
            x = play::kLeftWall;
            dx = -dx;
        }
        if (x > play::kRightWall - kBallSize) {
            x = play::kRightWall - kBallSize;
            dx = -dx;
        }
    }
    return x + kBallSize / 2;
}

void ScriptedPlayer::turnedUp(const PlayerView& view) {
    // Off the Bar the ball leaves from a fixed height, so where it leaves and which way
    // it flies say everything of its path: seen again, the path goes round without
    // meeting anything new, and only a corner can move it.
    const bool offTheBar = view.ballY + kBallSize >= view.barY - kBarSpeed;
    if (offTheBar) {
        const std::pair<int, int> departure{view.ballX, view.ballDX};
        const bool seen =
            std::find(m_departures.begin(), m_departures.end(), departure) != m_departures.end();
        m_departures.push_back(departure);
        if (m_departures.size() > kRememberedDepartures) m_departures.pop_front();
        if (seen) {
            chooseOffset(view.barWidth, true);
            return;
        }
    }
    if (randomBetween(0, 1) == 0) chooseOffset(view.barWidth, randomBetween(0, 7) == 0);
}

PlayerKeys ScriptedPlayer::play(const PlayerView& view) {
    PlayerKeys keys;
    const int half = view.barWidth / 2;
    const int barCentre = view.barX + half;
    const bool resting = view.ballDX == 0 && view.ballDY == 0;
    int aim = 0;
    if (resting) {
        if (!m_launchCentre)
            m_launchCentre = barCentre + randomBetween(-kLaunchReach, kLaunchReach);
        aim = *m_launchCentre;
    } else {
        m_launchCentre.reset();
        if (m_lastBallDY > 0 && view.ballDY < 0) turnedUp(view);
        aim = LandingCentre(view) - m_offset;
    }
    // The Bar stops at the walls: aim where it can stand.
    aim = std::clamp(aim, play::kLeftWall + half, play::kRightWall - view.barWidth + half);
    const int gap = aim - barCentre;
    if (gap > kBarSpeed / 2) {
        keys.right = true;
    } else if (gap < -kBarSpeed / 2) {
        keys.left = true;
    } else if (resting) {
        keys.space = true;
    }
    return keys;
}

PlayerKeys ScriptedPlayer::menu(const PlayerView& view, std::string_view wanted) {
    PlayerKeys keys;
    // One press at a time: the menus wait for a key to be released before they take it
    // again, and they latch a key that was already held when they opened.
    if (m_pressedLastFrame) {
        m_pressedLastFrame = false;
        return keys;
    }
    const auto item = std::find(view.items.begin(), view.items.end(), wanted);
    if (item == view.items.end()) return keys;
    if (view.cursor == static_cast<int>(item - view.items.begin())) {
        keys.space = true;
    } else {
        keys.down = true;
    }
    m_pressedLastFrame = true;
    return keys;
}

PlayerKeys ScriptedPlayer::next(const PlayerView& view) {
    PlayerKeys keys;
    if (view.screen == "play") {
        keys = play(view);
    } else if (view.screen == "title") {
        keys = menu(view, "New Game");
    } else if (view.screen == "save") {
        keys = menu(view, "NEXT");
    } else if (view.screen == "gameover") {
        keys = menu(view, " Continue");
    } else if (view.screen == "logo" || view.screen == "ending") {
        keys.space = true;
    }
    m_lastBallDY = view.ballDY;
    return keys;
}

}  // namespace qon::shell
