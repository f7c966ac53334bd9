// SPDX-License-Identifier: MIT
// What a touched block does, debris, breaking and scoring, and the clear test.

#include <limits>

#include "internal.h"
#include "qon/data/graphic_set.h"

namespace qon::play {

using detail::playEffect;
using detail::rectOf;
using detail::touches;

namespace {

// The ball is placed outside the block on the contact side and the matching speed
// reversed. Beside a block the gap is always 4; above or below it is 2, or 4 for the
// "wide" push-out of a fire ball turned back by an unbreakable block.
template <typename BallT>
void pushOut(BallT& ball, const BlockCell& c, Side side, int verticalGap) {
    switch (side) {
        case Side::Top:
            ball.Y = c.Y - ball.Height - verticalGap;
            ball.DY = -ball.DY;
            break;
        case Side::Bottom:
            ball.Y = c.Y + c.Height + verticalGap;
            ball.DY = -ball.DY;
            break;
        case Side::Left:
            ball.X = c.X - ball.Width - 4;
            ball.DX = -ball.DX;
            break;
        case Side::Right:
            ball.X = c.X + c.Width + 4;
            ball.DX = -ball.DX;
            break;
        case Side::None:
            break;
    }
}

template <typename BallT>
void ordinaryPushOut(BallT& ball, const BlockCell& c, Side side) {
    pushOut(ball, c, side, 2);
}

// Pin: only a touch of its core (a 10 x 8 area in the middle) counts; the edge strips
// alone do nothing. The new direction always has |DX| + |DY| = 8.
template <typename BallT>
void pinReaction(Game& game, BallT& ball, const BlockCell& c) {
    const media::Rect core{c.X + 22, c.Y + 2, c.X + 32, c.Y + 10};
    if (!touches(rectOf(ball), core)) return;
    playEffect(game.media, game.sounds.SeBlock);
    const int a = RandomInt(game.play, 0, 8);
    const int b = RandomInt(game.play, 0, 8);
    ball.DX = a;
    ball.DY = 8 - a;
    if (a < 6) ball.DX = -a;
    if (b < 6) ball.DY = -(8 - a);
}

// The wind blocks step the speed on every second frame of contact, counted by the one
// WindToggle that all balls and all wind blocks share.
template <typename BallT>
void windReaction(PlayState& p, BallT& ball, std::int16_t kind) {
    p.WindToggle = !p.WindToggle;
    const bool step = p.WindToggle;
    switch (kind) {
        case Kind::WindLeft:
            if (step) {
                ball.DX -= 1;
                if (ball.DX <= -4) ball.DX = -5;
            }
            if (ball.DX == 0) ball.DX = -2;
            break;
        case Kind::WindRight:
            if (step) {
                ball.DX += 1;
                if (ball.DX >= 4) ball.DX = 5;
            }
            if (ball.DX == 0) ball.DX = 2;
            break;
        case Kind::WindDown:
            if (step) {
                ball.DY += 1;
                if (ball.DY >= 4) ball.DY = 5;
                if (ball.DY == 0) ball.DY = 2;
            }
            break;
        case Kind::WindUp:
            if (step) {
                ball.DY -= 1;
                if (ball.DY <= -4) ball.DY = -5;
                if (ball.DY == 0) ball.DY = -2;
            }
            break;
        default:
            break;
    }
}

template <typename BallT>
void warpReaction(Game& game, BallT& ball) {
    playEffect(game.media, game.sounds.SeBlack);
    ball.X = RandomInt(game.play, 1, 639);
    ball.Y = RandomInt(game.play, 32, game.play.Bar.Y - 20);
}

void bombReaction(PlayState& p, int cell) {
    const int row = cell / kGridColumns;
    const int column = cell % kGridColumns;
    for (int r = row - 1; r <= row + 1; ++r) {
        for (int col = column - 1; col <= column + 1; ++col) {
            if (r < 0 || r >= kGridRows || col < 0 || col >= kGridColumns) continue;
            if (r == row && col == column) continue;
            p.StageGrid[static_cast<std::size_t>(r * kGridColumns + col)].HitPoints = 0;
        }
    }
    p.StageGrid[static_cast<std::size_t>(cell)].HitPoints = 0;
}

// The special blocks that treat the main ball and a mini ball alike. Returns false for
// the kinds whose reaction differs between the two (Magnet, BarExtend, FireBall).
template <typename BallT>
bool sharedSpecialReaction(Game& game, BallT& ball, BlockCell& c, const BlockContact& contact) {
    switch (c.Kind) {
        case Kind::Pin:
            pinReaction(game, ball, c);
            return true;
        case Kind::MiniBallItem:
            SpawnMiniBalls(game, c.X, c.Y);
            c.HitPoints = 0;
            return true;
        case Kind::WindLeft:
        case Kind::WindRight:
        case Kind::WindDown:
        case Kind::WindUp:
            windReaction(game.play, ball, c.Kind);
            return true;
        case Kind::Warp:
            warpReaction(game, ball);
            return true;
        case Kind::Bomb:
            bombReaction(game.play, contact.cell);
            return true;
        default:
            return false;
    }
}

}  // namespace

void ExtendBar(PlayState& p) {
    BarBody& bar = p.Bar;
    int width = RoundHalfEven(bar.Width * 3, 2);
    if (width > kBarMaxWidth) width = kBarMaxWidth;
    if (width < bar.Width) width = bar.Width;
    bar.Width = static_cast<std::int16_t>(width);
    // The Bar grows to the right; near the right wall it is pushed back inside, and a
    // ball resting on it goes along.
    const int maxX = kRightWall - width;
    if (bar.X > maxX) {
        const int shift = bar.X - maxX;
        bar.X = static_cast<std::int16_t>(maxX);
        if (detail::isResting(p.Ball)) p.Ball.X -= shift;
    }
}

void MainBallReaction(Game& game, const BlockContact& contact) {
    if (contact.cell < 0 || contact.cell >= kGridCells) return;
    PlayState& p = game.play;
    BallBody& ball = p.Ball;
    BlockCell& c = p.StageGrid[static_cast<std::size_t>(contact.cell)];
    const std::int16_t kind = c.Kind;

    if (kind >= Kind::kNormalFirst && kind <= Kind::kUnbreakable) {
        if (kind == Kind::kUnbreakable && p.FireBallOn) pushOut(ball, c, contact.side, 4);
        if (kind <= Kind::kNormalLast) {
            c.HitPoints = static_cast<std::int16_t>(c.HitPoints - 1);
            if (p.FireBallOn) c.HitPoints = 0;
        }
        if (c.HitPoints >= 1) {
            playEffect(game.media,
                       kind == Kind::kUnbreakable ? game.sounds.SeBlock : game.sounds.SeKin);
        }
        if (!p.FireBallOn) ordinaryPushOut(ball, c, contact.side);
        return;
    }

    if (sharedSpecialReaction(game, ball, c, contact)) return;
    switch (kind) {
        case Kind::Magnet:
            p.MagnetOn = true;
            if (!p.FireBallOn) ordinaryPushOut(ball, c, contact.side);
            c.HitPoints = 0;
            break;
        case Kind::BarExtend:
            ExtendBar(p);
            if (!p.FireBallOn) ordinaryPushOut(ball, c, contact.side);
            c.HitPoints = 0;
            break;
        case Kind::FireBall:
            p.FireBallOn = true;
            c.HitPoints = 0;
            break;
        default:
            break;  // codes outside the table do nothing
    }
}

void MiniBallReaction(Game& game, int slot, const BlockContact& contact) {
    if (contact.cell < 0 || contact.cell >= kGridCells) return;
    if (slot < 0 || slot >= kMiniBallSlots) return;
    PlayState& p = game.play;
    MiniBall& ball = p.MiniBallRing.slots[static_cast<std::size_t>(slot)];
    BlockCell& c = p.StageGrid[static_cast<std::size_t>(contact.cell)];
    const std::int16_t kind = c.Kind;

    if (kind >= Kind::kNormalFirst && kind <= Kind::kUnbreakable) {
        // A mini ball never burns through: FireBallOn is the main ball's alone.
        if (kind <= Kind::kNormalLast) c.HitPoints = static_cast<std::int16_t>(c.HitPoints - 1);
        if (c.HitPoints >= 1) {
            playEffect(game.media,
                       kind == Kind::kUnbreakable ? game.sounds.SeBlock : game.sounds.SeKin);
        }
        ordinaryPushOut(ball, c, contact.side);
        return;
    }

    if (sharedSpecialReaction(game, ball, c, contact)) return;
    switch (kind) {
        case Kind::Magnet:
            break;  // mini balls pass through magnets
        case Kind::BarExtend:
            ExtendBar(p);
            ordinaryPushOut(ball, c, contact.side);
            c.HitPoints = 0;
            break;
        case Kind::FireBall:
            p.FireBallOn = true;
            ordinaryPushOut(ball, c, contact.side);
            c.HitPoints = 0;
            break;
        default:
            break;
    }
}

void SpawnDebris(PlayState& p, std::int16_t x, std::int16_t y) {
    static constexpr std::int16_t kFlight[kDebrisRings][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    DebrisField& d = p.Debris;
    for (int ring = 0; ring < kDebrisRings; ++ring) {
        DebrisPiece& piece =
            d.rings[static_cast<std::size_t>(ring)][static_cast<std::size_t>(d.index)];
        piece = DebrisPiece{x, y, kFlight[ring][0], kFlight[ring][1], 20, kTrue};
    }
    d.index = static_cast<std::int16_t>(d.index + 1 >= kDebrisSlots ? 0 : d.index + 1);
}

void DebrisStep(PlayState& p) {
    for (auto& ring : p.Debris.rings) {
        for (DebrisPiece& piece : ring) {
            if (piece.Active == kTrue) {
                --piece.Life;
                piece.X = static_cast<std::int16_t>(piece.X + piece.DX);
                piece.Y = static_cast<std::int16_t>(piece.Y + piece.DY);
            }
            if (piece.Life <= 0) piece.Active = 0;
        }
    }
}

bool IsStageClear(const PlayState& p) {
    // Rows 28 and 29 are never examined; unbreakable and special blocks never hold up
    // a clear.
    for (int cell = 0; cell < 28 * kGridColumns; ++cell) {
        const BlockCell& c = p.StageGrid[static_cast<std::size_t>(cell)];
        if (c.Alive == kTrue && c.Kind != Kind::kUnbreakable && c.Kind < 100) return false;
    }
    return true;
}

namespace detail {

void removeIfBroken(Game& game, int cell) {
    PlayState& p = game.play;
    BlockCell& c = p.StageGrid[static_cast<std::size_t>(cell)];
    if (!(c.HitPoints < 1 && c.Alive == kTrue)) return;
    SpawnDebris(p, static_cast<std::int16_t>(RoundHalfEven(2 * c.X + c.Width, 2)),
                static_cast<std::int16_t>(RoundHalfEven(2 * c.Y + c.Height, 2)));
    c.Alive = 0;
    c.Kind = Kind::kEmpty;
    playEffect(game.media, game.sounds.SeBreak);
    p.Combo = static_cast<std::int16_t>(p.Combo + 1 >= kComboMax ? kComboMax : p.Combo + 1);
    p.ComboTimer = kComboFrames;
    p.Score += p.Combo * 10;
}

}  // namespace detail

}  // namespace qon::play
