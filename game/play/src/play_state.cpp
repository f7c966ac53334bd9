// SPDX-License-Identifier: MIT
#include "qon/play/play_state.h"

#include <cassert>

namespace qon::play {

void ResetBallAndBar(PlayState& play) {
    // The ball rests centred on the Bar, touching its top: 320 + 128 / 2 - 12 / 2 and
    // 386 - 12.
    play.Ball = BallBody{378, 374, 12, 12, 0, 0};
    play.MiniBallRing = MiniBallSlots{};
    play.LaunchDX = 4;
    play.LaunchDY = -5;
    play.Bar = BarBody{};
}

void ResetForNextStage(PlayState& play) {
    play.TrailRadius = {6, 5, 4, 3};
    play.MagnetOn = false;
    play.FireBallOn = false;
    ResetBallAndBar(play);
    play.Debris = DebrisField{};
}

void Restart(PlayState& play) {
    if (play.StageMusicIndex > -1) {
        --play.StageMusicIndex;
    }
    play.MagnetOn = false;
    play.FireBallOn = false;
    play.TrailBlink = false;
    play.Score = 0;
    play.Lives = kStartLives;
    ResetBallAndBar(play);
}

void ResetForNewGame(PlayState& play) {
    play.StageNumber = 1;
    play.Score = 0;
    play.Combo = 0;
    play.ComboTimer = 0;
    play.Lives = kStartLives;
    play.MagnetOn = false;
    play.FireBallOn = false;
    play.TrailBlink = false;
    play.TrailRadius = {6, 5, 4, 3};
    ResetBallAndBar(play);
    play.Debris = DebrisField{};
    play.StageMusicIndex = -1;
    play.musicStarted = false;
    play.escLatch = false;
}

int RandomInt(PlayState& play, int base, int range) {
    // u in [0, 1) with 32 bits of resolution: u * range can never round up to range.
    const double u = static_cast<double>(play.RandomGenerator()) / 4294967296.0;
    const double value = u * static_cast<double>(range) + static_cast<double>(base);
    // floor without <cmath>: truncate, then step down for negative non-integers.
    auto whole = static_cast<long long>(value);
    if (static_cast<double>(whole) > value) --whole;
    return static_cast<int>(whole);
}

void SeedRandom(PlayState& play, std::uint32_t seed) {
    play.RandomGenerator.seed(seed);
}

int RoundHalfEven(int num, int den) {
    assert(den > 0 && "RoundHalfEven needs a positive denominator");
    int q = num / den;
    int r = num % den;
    if (r < 0) {  // make q the floor
        --q;
        r += den;
    }
    const int twice = 2 * r;
    if (twice > den || (twice == den && (q % 2 != 0))) {
        ++q;
    }
    return q;
}

}  // namespace qon::play
