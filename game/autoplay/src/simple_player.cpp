// SPDX-License-Identifier: MIT
#include "qon/autoplay/simple_player.h"

#include <algorithm>

namespace qon::autoplay {

namespace {

// Walls of the field: the Bar keeps within x 1 to 639 - its width.
constexpr int kLeftWall = 1;
constexpr int kRightWall = 639;

}  // namespace

SimplePlayer::SimplePlayer(std::uint32_t seed) : m_random(seed) {}

int SimplePlayer::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

Move SimplePlayer::steerTo(int barX, int targetBarX) const {
    Move move;
    if (targetBarX > barX + kDeadBand) move.stick = 1;
    if (targetBarX < barX - kDeadBand) move.stick = -1;
    return move;
}

Move SimplePlayer::next(const View& view) {
    // A flying ball changes height from one frame to the next (its vertical speed is
    // never 0), so a ball that kept its height rests: on the Bar, or beside it when the
    // magnet caught it by the Bar's end. (A push-out may, rarely, put a flying ball back
    // at the height it had; the player then only hesitates for that frame.) Before the
    // first frame the ball rests when it sits on the Bar.
    const bool resting =
        m_seenBefore ? view.ballY == m_lastBallY : view.ballY + view.ballSize == view.barY;
    const bool rising = m_seenBefore && view.ballY < m_lastBallY;
    m_seenBefore = true;
    m_lastBallY = view.ballY;

    if (resting) {
        m_wasRising = false;
        if (!m_launchPlanned) {
            m_launchPlanned = true;
            const int lowest = std::max(kLeftWall, view.barX - kLaunchWalk);
            const int highest = std::min(kRightWall - view.barWidth, view.barX + kLaunchWalk);
            m_launchBarX = lowest < highest ? uniform(lowest, highest) : view.barX;
            m_launchWait = uniform(kMinWait, kMaxWait);
        }
        Move move = steerTo(view.barX, m_launchBarX);
        if (m_launchWait > 0) --m_launchWait;
        if (move.stick == 0 && m_launchWait == 0) {
            move.launch = true;
            m_launchPlanned = false;
        }
        return move;
    }
    m_launchPlanned = false;

    // A new aim when the ball turns upward, at every second turn on average: the ball
    // has just left the Bar or a block, and the Bar has the ball's whole way up and down
    // to get there.
    if (rising && !m_wasRising && uniform(0, 1) == 0) {
        const int reach = view.barWidth / 2 - kOffsetMargin;
        m_offset = reach > 0 ? uniform(-reach, reach) : 0;
    }
    m_wasRising = rising;

    const int ballCentre = view.ballX + view.ballSize / 2;
    const int targetBarX = ballCentre - m_offset - view.barWidth / 2;
    return steerTo(view.barX, targetBarX);
}

}  // namespace qon::autoplay
