// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <vector>

#include "score.h"

namespace qon::content {

// Every song sounds at the game's loudness through the game's synthesizer and soundfont
// (qon-loudness measures it). A song that comes out louder carries a level trim
// (Song::levelDb); the quiet ones (Lantern, Nightfall, Ricochet) have their voices'
// volumes and velocities set high instead, since a trim only turns a song down.

// One starter music set: where it goes, what its ".msp" says and the songs it holds.
struct MusicSetPlan {
    std::string_view folderName;  // subfolder of the music folder
    std::string_view fileName;    // the ".msp" file in it
    std::string_view setName;     // line 1, shown by the configuration screen
    std::string_view staffName;   // line 2, shown on the staff roll
    score::Song title;
    score::Song ending;
    std::vector<score::Song> stages;
};

// The bright main set: an inviting title, a triumphant ending, three upbeat stages.
MusicSetPlan StandardMusicSet();

// The smaller night-time set: a quiet title, a warm ending, two minor-key stages.
MusicSetPlan MoonlightMusicSet();

}  // namespace qon::content
