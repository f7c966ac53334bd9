// SPDX-License-Identifier: MIT
#pragma once

// A simple scripted player, used to show that a stage can be cleared without skill or
// foresight. It sees what a person at the screen sees of the ball and the Bar (their
// positions, frame after frame; no speeds, no blocks, no mini balls) and it plays like a
// patient beginner:
//
//  - while the ball rests on the Bar it walks the Bar to a random place nearby, waits a
//    random moment and launches;
//  - while the ball flies it keeps the Bar's centre under the ball's centre, shifted by a
//    random offset. Each time the ball turns upward the offset may be drawn again, so the
//    Bar has the whole climb and fall of the ball to reach its new place.
//
// In this game the Bar only mirrors the ball's speed; where along the Bar the ball lands
// does not matter, except at its ends: a ball that lands across an end also bounces off
// the Bar's side, which turns its horizontal direction. Offsets near the ends therefore
// vary the ball's path now and then, and keep it from settling into one loop that misses
// the last blocks.
//
// The player is deterministic for a seed and keeps its own random generator, so it
// never disturbs the game's random numbers. It depends on nothing but the standard
// library, so any driver (a trial harness, the replay runner) can feed it.

#include <cstdint>
#include <random>

namespace qon::autoplay {

// What the player sees in one frame: the top-left corners and sizes, in screen pixels,
// of the main ball and the Bar.
struct View {
    int ballX = 0;
    int ballY = 0;
    int ballSize = 12;
    int barX = 0;
    int barY = 386;
    int barWidth = 128;
};

// What it does in that frame: the stick (-1 left, 0 still, 1 right) and whether the
// launch key (Space) is down. A driver of the real game holds Left while the stick is
// -1, Right while it is 1, and Space while launch is set.
struct Move {
    int stick = 0;
    bool launch = false;
};

class SimplePlayer {
  public:
    // The Bar moves this many pixels a frame; closer than half of it counts as there.
    static constexpr int kBarSpeed = 8;
    static constexpr int kDeadBand = kBarSpeed / 2;
    // Before a launch the Bar walks at most this far, then waits a few frames.
    static constexpr int kLaunchWalk = 160;
    static constexpr int kMinWait = 2;
    static constexpr int kMaxWait = 24;
    // How far inside the Bar's ends the offset may reach. At the widest offset the
    // ball's centre is this far inside the end, so a few pixels of lag put it across the
    // end (a side bounce), while the ball's own half width keeps it on the Bar.
    static constexpr int kOffsetMargin = 4;

    explicit SimplePlayer(std::uint32_t seed);

    // Call once per frame, before the game reads its input for that frame.
    Move next(const View& view);

    // The current aim, for tests and traces: the ball's centre minus the Bar's centre
    // that the player steers for.
    int offset() const { return m_offset; }

  private:
    int uniform(int low, int high);  // inclusive
    Move steerTo(int barX, int targetBarX) const;

    std::mt19937 m_random;
    bool m_seenBefore = false;
    int m_lastBallY = 0;
    bool m_wasRising = false;
    int m_offset = 0;
    // The plan for the next launch: where the Bar goes and how long it waits.
    bool m_launchPlanned = false;
    int m_launchBarX = 0;
    int m_launchWait = 0;
};

}  // namespace qon::autoplay
