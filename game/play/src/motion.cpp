// SPDX-License-Identifier: MIT
// The Bar, the balls' motion and every contact test. Speeds are pixels per frame.

#include <cstdlib>

#include "internal.h"

namespace qon::play {

using detail::playEffect;
using detail::rectOf;
using detail::touches;

void BarAndLaunchStep(Game& game) {
    PlayState& p = game.play;
    media::Media& media = game.media;
    media.ReadController();
    const std::int16_t stick = media.controller().ControllerX;
    const bool resting = detail::isResting(p.Ball);

    if (stick == -1) {
        const int x = p.Bar.X - p.Bar.Speed;
        if (x <= kLeftWall) {
            // Stopped by the wall: a resting ball stays put this frame even when the
            // Bar still moved a few pixels.
            p.Bar.X = kLeftWall;
        } else {
            p.Bar.X = static_cast<std::int16_t>(x);
            if (resting) p.Ball.X -= p.Bar.Speed;
        }
        if (p.Ball.DX != 0) return;
    } else if (stick == 1) {
        const int x = p.Bar.X + p.Bar.Speed;
        const int limit = kRightWall - p.Bar.Width;
        if (x >= limit) {
            p.Bar.X = static_cast<std::int16_t>(limit);
        } else {
            p.Bar.X = static_cast<std::int16_t>(x);
            if (resting) p.Ball.X += p.Bar.Speed;
        }
        if (p.Ball.DX != 0) return;
    }

    // A ball with DX = 0 but DY != 0 is neither resting nor launchable.
    if (!resting) return;
    media.ReadController();
    if (media.IsKeyDown(media::Vk::Space) || media.controller().ControllerButtons == 4) {
        if (std::abs(p.LaunchDX) < 1) p.LaunchDX = 1;
        if (std::abs(p.LaunchDY) < 1) p.LaunchDY = 1;
        p.Ball.DX = p.LaunchDX;
        p.Ball.DY = p.LaunchDY;
    }
}

void MotionStep(Game& game) {
    PlayState& p = game.play;
    media::Media& media = game.media;
    BallBody& ball = p.Ball;
    ball.X += ball.DX;
    ball.Y += ball.DY;
    if (ball.X < kLeftWall) {
        ball.DX = -ball.DX;
        ball.X = kLeftWall;
        playEffect(media, game.sounds.SeBlock);
    }
    if (ball.X > kRightWall - ball.Width) {
        ball.X = kRightWall - ball.Width;
        ball.DX = -ball.DX;
        playEffect(media, game.sounds.SeBlock);
    }
    if (ball.Y < kTopWallMainBall) {
        ball.Y = kTopWallMainBall;
        ball.DY = -ball.DY;
        playEffect(media, game.sounds.SeBlock);
    }
    // Remembered before any Bar contact of this frame: a ball the magnet catches is
    // launched again with the speeds it came in with, reflected upward.
    if (ball.DX != 0 && ball.DY != 0) {
        p.LaunchDX = static_cast<std::int16_t>(ball.DX);
        p.LaunchDY = static_cast<std::int16_t>(-ball.DY);
    }

    for (MiniBall& mini : p.MiniBallRing.slots) {
        if (mini.Active != 1) continue;
        mini.X += mini.DX;
        mini.Y += mini.DY;
        if (mini.X < kLeftWall) {
            mini.X = kLeftWall;
            mini.DX = -mini.DX;
            playEffect(media, game.sounds.SeBlock);
        }
        if (mini.X > kRightWall - mini.Width) {
            mini.X = kRightWall - mini.Width;
            mini.DX = -mini.DX;
            playEffect(media, game.sounds.SeBlock);
        }
        if (mini.Y < kTopWallMiniBall) {
            mini.Y = kTopWallMiniBall;
            mini.DY = -mini.DY;
            playEffect(media, game.sounds.SeBlock);
        }
        if (mini.Y > kLostLine) {
            mini.Active = 0;
        }
    }
}

namespace {

// Four independent strip tests against one rectangle taken before any of them, so a
// corner contact can trigger two reactions.
void mainBallBarContact(Game& game) {
    PlayState& p = game.play;
    BallBody& ball = p.Ball;
    const BarBody& bar = p.Bar;
    const media::Rect r = rectOf(ball);
    const int barRight = bar.X + bar.Width;
    const int barBottom = bar.Y + bar.Height;

    auto contactDone = [&] {
        playEffect(game.media, game.sounds.SeBar);
        if (p.MagnetOn) {
            ball.DX = 0;
            ball.DY = 0;
        }
    };
    if (touches(r, {bar.X, bar.Y, barRight, bar.Y + 1})) {
        ball.Y = bar.Y - ball.Height;
        ball.DY = -ball.DY;
        contactDone();
    }
    if (touches(r, {bar.X, barBottom, barRight, barBottom + 1})) {
        // From below the ball always leaves downward.
        ball.Y = barBottom;
        ball.DY = std::abs(ball.DY);
        contactDone();
    }
    if (touches(r, {bar.X, bar.Y, bar.X + 1, barBottom})) {
        ball.X = bar.X - ball.Width;
        ball.DX = -ball.DX;
        contactDone();
    }
    if (touches(r, {barRight - 1, bar.Y, barRight, barBottom})) {
        ball.X = barRight;
        ball.DX = -ball.DX;
        contactDone();
    }
}

// Mini balls: the bottom strip lies inside the Bar's last row, the vertical speed is
// simply reversed there, and the magnet never holds them.
void miniBallBarContact(Game& game, MiniBall& ball) {
    const BarBody& bar = game.play.Bar;
    const media::Rect r = rectOf(ball);
    const int barRight = bar.X + bar.Width;
    const int barBottom = bar.Y + bar.Height;
    if (touches(r, {bar.X, bar.Y, barRight, bar.Y + 1})) {
        ball.Y = bar.Y - ball.Height;
        ball.DY = -ball.DY;
        playEffect(game.media, game.sounds.SeBar);
    }
    if (touches(r, {bar.X, barBottom - 1, barRight, barBottom})) {
        ball.Y = barBottom;
        ball.DY = -ball.DY;
        playEffect(game.media, game.sounds.SeBar);
    }
    if (touches(r, {bar.X, bar.Y, bar.X + 1, barBottom})) {
        ball.X = bar.X - ball.Width;
        ball.DX = -ball.DX;
        playEffect(game.media, game.sounds.SeBar);
    }
    if (touches(r, {barRight - 1, bar.Y, barRight, barBottom})) {
        ball.X = barRight;
        ball.DX = -ball.DX;
        playEffect(game.media, game.sounds.SeBar);
    }
}

int floorDiv(int a, int b) {
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

int clampTo(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace

BlockContact FindBlockContact(const ::qon::StageGrid& grid, const media::Rect& ball, int inset) {
    // Only cells whose strips can reach the ball are visited; the strips of the cell
    // at (row, column) span x 53 * column - 1 .. 53 * column + 57 and y 15 * row + 28
    // .. 15 * row + 46 in the play geometry. Visiting them in the full scan order (pass,
    // then row, then column) keeps "the last contact found wins" exact.
    const int colLo = clampTo(floorDiv(ball.left - 58, kCellWidth), 0, kGridColumns - 1);
    const int colHi = clampTo(floorDiv(ball.right + 1, kCellWidth), 0, kGridColumns - 1);
    const int rowLo = clampTo(floorDiv(ball.top - 47, kCellHeight), 0, kGridRows - 1);
    const int rowHi = clampTo(floorDiv(ball.bottom - 28, kCellHeight), 0, kGridRows - 1);

    BlockContact found;
    if (ball.right <= ball.left || ball.bottom <= ball.top) return found;
    static constexpr Side kPasses[4] = {Side::Left, Side::Right, Side::Top, Side::Bottom};
    for (const Side side : kPasses) {
        for (int row = rowLo; row <= rowHi; ++row) {
            for (int column = colLo; column <= colHi; ++column) {
                const int index = row * kGridColumns + column;
                const BlockCell& c = grid[static_cast<std::size_t>(index)];
                if (c.Alive != kTrue) continue;
                media::Rect strip;
                switch (side) {
                    case Side::Left:
                        strip = {c.X - 3, c.Y, c.X, c.Y + c.Height};
                        break;
                    case Side::Right:
                        strip = {c.X + c.Width, c.Y, c.X + c.Width + 3, c.Y + c.Height};
                        break;
                    case Side::Top:
                        strip = {c.X + inset, c.Y - 2, c.X + c.Width - inset, c.Y};
                        break;
                    default:
                        strip = {c.X + inset, c.Y + c.Height, c.X + c.Width - inset,
                                 c.Y + c.Height + 2};
                        break;
                }
                if (touches(ball, strip)) {
                    found.cell = index;
                    found.side = side;
                }
            }
        }
    }
    return found;
}

void SpawnMiniBalls(Game& game, std::int16_t x, std::int16_t y) {
    MiniBallSlots& ring = game.play.MiniBallRing;
    for (int n = 0; n < 5; ++n) {
        MiniBall& mini = ring.slots[static_cast<std::size_t>(ring.index)];
        mini.X = x;
        mini.Y = y;
        mini.DX = RandomInt(game.play, 1, 6);
        mini.DY = RandomInt(game.play, 1, 6);
        mini.Active = 1;
        ring.index =
            static_cast<std::int16_t>(ring.index + 1 >= kMiniBallSlots ? 0 : ring.index + 1);
    }
}

bool CollisionStep(Game& game) {
    PlayState& p = game.play;
    if (p.Ball.DX != 0 || p.Ball.DY != 0) {
        mainBallBarContact(game);
        const BlockContact contact = FindBlockContact(p.StageGrid, rectOf(p.Ball), kMainBallInset);
        if (contact.cell >= 0) MainBallReaction(game, contact);
    }
    // Slots are visited by index and tested as they are reached: mini balls released
    // by a reaction in this step take part from their slot on.
    for (MiniBall& mini : p.MiniBallRing.slots) {
        if (mini.Active == 1) miniBallBarContact(game, mini);
    }
    for (int slot = 0; slot < kMiniBallSlots; ++slot) {
        const MiniBall& mini = p.MiniBallRing.slots[static_cast<std::size_t>(slot)];
        if (mini.Active != 1) continue;
        const BlockContact contact = FindBlockContact(p.StageGrid, rectOf(mini), kMiniBallInset);
        if (contact.cell >= 0) MiniBallReaction(game, slot, contact);
    }
    return p.Ball.Y >= kLostLine;
}

}  // namespace qon::play
