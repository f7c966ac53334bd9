// SPDX-License-Identifier: MIT
#pragma once

// The replay runner's scripted player: a simple, tireless player that knows only what a
// trace line shows (the screen, the main ball, the Bar and the shared menu) and decides,
// after each presented frame, which keys it holds for the next one. It keeps the Bar's
// centre under the ball with an offset that changes now and then, so that the ball meets
// the Bar at different places (a corner sends it back the way it came); it launches the
// ball from a random place, and it answers the menus that stand between it and play.
// Its random generator is its own, seeded apart from the game's.

#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qon::play {
struct Game;
}

namespace qon::shell {

// What the player sees of a presented frame: the fields of its trace line.
struct PlayerView {
    std::string_view screen;
    int ballX = 0;
    int ballY = 0;
    int ballDX = 0;
    int ballDY = 0;
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
    // - play: steer the Bar so that the ball comes down on it `offset` pixels right of
    //   its centre (left when negative), aiming at where the ball will come down, or at
    //   the ball itself while it rises; a resting ball is first carried to a random
    //   place, then launched with Space;
    // - a menu with an item the player wants ("New Game" in the title, "NEXT" in the
    //   save screen, " Continue" after a game over): Down until the cursor is on it, then
    //   Space; each press is released for a frame, since the menus take one press at a
    //   time;
    // - the opening logo and the ending: Space held, which shortens their holds;
    // - anything else, the pause menu included: nothing held.
    PlayerKeys next(const PlayerView& view);

    // Where the centre of the main ball will be when it first meets the Bar's top row,
    // bouncing off the side walls on the way; the centre as it is when it rises or is
    // already lower.
    static int LandingCentre(const PlayerView& view);

    // Where the ball is to meet the Bar, from the Bar's centre. It starts at 0; each time
    // the falling ball turns up again, one time in two a new one is drawn: one draw in
    // four is a corner of the Bar (half its width, either side), the others lie well
    // inside it.
    int offset() const { return m_offset; }

  private:
    PlayerKeys play(const PlayerView& view);
    PlayerKeys menu(const PlayerView& view, std::string_view wanted);
    // Called when the falling ball turns up again.
    void turnedUp(const PlayerView& view);
    void chooseOffset(int barWidth, bool corner);
    int randomBetween(int low, int high);

    std::mt19937 m_random;
    int m_offset = 0;
    std::optional<int> m_launchCentre;  // where a resting ball is carried before launch
    // Where and which way (x, DX) the ball last left the Bar, the latest last.
    std::deque<std::pair<int, int>> m_departures;
    int m_lastBallDY = 0;
    bool m_pressedLastFrame = false;
};

}  // namespace qon::shell
