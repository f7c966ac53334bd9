// SPDX-License-Identifier: MIT
#pragma once

// Helpers shared by the play sources; not part of the module's interface.

#include "qon/play/game.h"

namespace qon::play::detail {

inline void playEffect(media::Media& media, const media::SoundEffectPtr& effect) {
    if (effect) media.PlaySoundEffect(*effect);
}

// The overlap test every contact rests on: the larger left below the smaller right and
// the larger top below the smaller bottom. Rectangles that only share an edge do not
// touch. (Same rule as media::RectsIntersect, without the overlap output.)
inline bool touches(const media::Rect& a, const media::Rect& b) {
    const int left = a.left > b.left ? a.left : b.left;
    const int right = a.right < b.right ? a.right : b.right;
    const int top = a.top > b.top ? a.top : b.top;
    const int bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return left < right && top < bottom;
}

template <typename BallT>
media::Rect rectOf(const BallT& ball) {
    return media::Rect{ball.X, ball.Y, ball.X + ball.Width, ball.Y + ball.Height};
}

inline bool isResting(const BallBody& ball) {
    return ball.DX == 0 && ball.DY == 0;
}

// The removal test of one cell, run by DrawPlayScreen just before the cell is drawn:
// a live cell whose hit points fell below 1 breaks, throws debris, plays SeBreak and
// scores Combo x 10.
void removeIfBroken(Game& game, int cell);

}  // namespace qon::play::detail
