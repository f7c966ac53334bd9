// SPDX-License-Identifier: MIT
#pragma once

// The replay runner's scripted player: a simple, tireless player that knows only what a
// trace line shows (the screen, the main ball, the Bar and the shared menu) and decides,
// after each presented frame, which keys it holds for the next one. In play it is the
// simple player of qon/autoplay: it keeps the Bar's centre under the ball, with a random
// offset that changes now and then so that the angle varies, and launches a resting ball
// from a random place nearby. Around play it answers the menus that stand between it and
// the next stage. Its random generator is its own, seeded apart from the game's.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qon/autoplay/simple_player.h"

namespace qon::play {
struct Game;
}

namespace qon::shell {

// What the player sees of a presented frame: the fields of its trace line.
struct PlayerView {
    std::string_view screen;
    int ballX = 0;
    int ballY = 0;
    int barX = 0;
    int barY = 0;
    int barWidth = 0;
    int cursor = 0;
    std::vector<std::string> items;
};

PlayerView ViewOf(const play::Game& game);

// The keys the player holds through the next frame; all others are up.
struct PlayerKeys {
    bool left = false;
    bool right = false;
    bool down = false;
    bool space = false;
    bool operator==(const PlayerKeys&) const = default;
};

class ScriptedPlayer {
  public:
    explicit ScriptedPlayer(std::uint32_t seed);

    // The keys for the next frame, given the frame just presented:
    // - play: the simple player's stick (Left or Right) and launch (Space);
    // - a menu with an item the player wants ("New Game" in the title, "NEXT" in the
    //   save screen, " Continue" after a game over): Down until the cursor is on it, then
    //   Space; each press is released for a frame, since the menus take one press at a
    //   time;
    // - the opening logo and the ending: Space held, which shortens their holds;
    // - anything else, the pause menu included: nothing held.
    PlayerKeys next(const PlayerView& view);

  private:
    PlayerKeys menu(const PlayerView& view, std::string_view wanted);

    autoplay::SimplePlayer m_player;
    bool m_pressedLastFrame = false;
};

}  // namespace qon::shell
