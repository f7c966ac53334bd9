// SPDX-License-Identifier: MIT
#pragma once

// The play state: everything one game of qon keeps between frames. Plain records and
// fixed-size tables only, so that a frame of play never allocates and a test can build
// a state, move a ball and read the score without any platform.

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "qon/data/stage.h"

namespace qon::play {

// Walls of the field: balls bounce at x = 1 and x = 639; the main ball at y = 31 and
// mini balls at y = 30. There is no bottom wall.
inline constexpr int kLeftWall = 1;
inline constexpr int kRightWall = 639;
inline constexpr int kTopWallMainBall = 31;
inline constexpr int kTopWallMiniBall = 30;
// The main ball is lost at Y >= 490; a mini ball disappears only at Y > 490.
inline constexpr int kLostLine = 490;

inline constexpr int kMiniBallSlots = 49;
inline constexpr int kDebrisRings = 4;
inline constexpr int kDebrisSlots = 24;
inline constexpr int kTrailCircles = 4;

inline constexpr int kBarStartWidth = 128;
// BarExtend multiplies the width by 1.5 (128 -> 192 -> 288 -> 432). The Bar stops
// growing at 432: one more step (648) would no longer fit between the walls, and a Bar
// that covers the whole field would leave nothing to play.
inline constexpr int kBarMaxWidth = 432;

inline constexpr int kStartLives = 4;
inline constexpr int kComboMax = 999;
inline constexpr int kComboFrames = 60;

// The main ball. DX = DY = 0 means it rests on the Bar and moves with it.
struct BallBody {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Width = 12;
    std::int32_t Height = 12;
    std::int32_t DX = 0;
    std::int32_t DY = 0;
};

struct MiniBall {
    std::int32_t X = 320;
    std::int32_t Y = 240;
    std::int32_t Width = 6;
    std::int32_t Height = 6;
    std::int32_t DX = 0;
    std::int32_t DY = 0;
    std::int32_t Active = 0;  // 1 while in play
};

// 49 slots; `index` names the slot the next mini ball takes (a slot still in use is
// simply taken over).
struct MiniBallSlots {
    std::array<MiniBall, kMiniBallSlots> slots{};
    std::int16_t index = 0;
};

struct BarBody {
    std::int16_t X = 320;
    std::int16_t Y = 386;
    std::int16_t Width = kBarStartWidth;
    std::int16_t Height = 12;
    std::int16_t Speed = 8;
};

struct DebrisPiece {
    std::int16_t X = 0;
    std::int16_t Y = 0;
    std::int16_t DX = 0;
    std::int16_t DY = 0;
    std::int16_t Life = 0;
    std::int16_t Active = 0;  // -1 while shown
};

// Four rings, one per flight direction, sharing one ring index 0..23.
struct DebrisField {
    std::array<std::array<DebrisPiece, kDebrisSlots>, kDebrisRings> rings{};
    std::int16_t index = 0;
};

struct PlayState {
    ::qon::StageGrid StageGrid{};
    // 1-based. 32 bits: clearing stage 32767, the last a project can have, makes it 32768,
    // which must read as "past the last stage", never wrap round to a negative number.
    std::int32_t StageNumber = 1;
    std::int16_t StageCount = 0;
    std::string stageStaff;

    BallBody Ball;
    MiniBallSlots MiniBallRing;
    BarBody Bar;
    std::int16_t LaunchDX = 4;
    std::int16_t LaunchDY = -5;

    bool MagnetOn = false;
    bool FireBallOn = false;
    // Shared by every ball and every wind block; starts off with the program and is
    // never reset, not even by a new game.
    bool WindToggle = false;
    bool TrailBlink = false;

    std::int16_t Lives = kStartLives;
    std::int32_t Score = 0;
    std::int16_t Combo = 0;
    std::int16_t ComboTimer = 0;
    DebrisField Debris;
    // Radius of fire ball trail circle i: 6 - i.
    std::array<std::int16_t, kTrailCircles> TrailRadius{6, 5, 4, 3};

    std::int16_t StageMusicIndex = -1;  // -1 before the first stage of a game
    bool musicStarted = false;          // the current stage's track has been started
    bool escLatch = false;              // Esc opened the pause menu and is still held

    // The pin's directions, the mini balls' speeds and the warp's landing place. The
    // shell seeds it before every title; no reset touches it.
    std::mt19937 RandomGenerator{1};
};

// Ball on the Bar at rest (12 x 12 at 378, 374), every mini ball slot freed and reset,
// launch speeds 4 and -5, Bar at 320, 386, 128 x 12, speed 8.
void ResetBallAndBar(PlayState& play);

// Between two stages: trail radii, MagnetOn and FireBallOn off, ResetBallAndBar,
// every debris slot cleared. Lives, Score, Combo and ComboTimer carry over.
void ResetForNextStage(PlayState& play);

// The same stage again (pause menu "ReStart", or continuing after a game over): the
// stage track index steps back (not below -1) so the same track plays again; magnet,
// fire ball and trail blink off; Score 0; Lives 4; ResetBallAndBar. Combo and
// ComboTimer are left as they are.
void Restart(PlayState& play);

// The start of a new game (the shell runs it before every title): StageNumber 1,
// Score, Combo and ComboTimer 0, Lives 4, magnet and fire ball off, ball and Bar reset,
// debris empty, StageMusicIndex -1, latches cleared. WindToggle and the random
// generator are kept.
void ResetForNewGame(PlayState& play);

// floor(uniform [0, 1) * range + base), from the play state's generator.
int RandomInt(PlayState& play, int base, int range);
void SeedRandom(PlayState& play, std::uint32_t seed);

// Round-to-nearest of num / den (den > 0), ties going to the even integer.
int RoundHalfEven(int num, int den);

}  // namespace qon::play
