// SPDX-License-Identifier: MIT
#pragma once

// One try of one stage by the simple scripted player, on the headless platform.

#include <cstdint>
#include <string>

namespace qon::autoplay {

struct StageTry {
    std::string projectPath;     // the stage project file (.stp)
    std::string graphicSetPath;  // the graphic set file (.bgp) its pictures come from
    int stage = 1;
    std::uint32_t seed = 1;  // the game's random numbers and the player's both follow it
    int frameLimit = 18000;  // five minutes of play at 60 frames a second
    std::string shotPath;    // when set, a picture of the stage before the first frame
};

struct StageTryResult {
    bool cleared = false;
    bool lostAll = false;  // the last of the four lives went
    int frames = 0;        // frames played until the clear, the loss or the limit
    int ballsLost = 0;
    // The live cells left when the try ended, rows 0 to 17 as a layout writes them:
    // a digit for a block's hit points left, '#' unbreakable, '*' special, '.' empty.
    std::string leftOver;
};

// Starts the stage afresh with four lives and plays it with SimplePlayer, running the
// frame steps of play in the order of the game's frame loop: the Bar and launch step,
// motion, debris, collisions, the clear test, drawing (which removes broken blocks and
// scores). A lost ball costs a life and puts the ball back on the Bar, as the miss does;
// the try ends when the stage is clear, the last life is lost or the limit is reached.
// Throws what loading the stage throws (qon::DataError, media::MediaError) and
// std::runtime_error when no font for the status line can be opened.
StageTryResult PlayStageTry(const StageTry& setup);

}  // namespace qon::autoplay
