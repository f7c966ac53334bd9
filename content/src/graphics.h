// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>

#include "canvas.h"
#include "qon/data/graphic_set.h"

namespace qon::content {

// The colour that keyed pictures (special blocks, balls) use for "transparent" at their
// top-left pixel. Pure magenta survives the game's 16-bit surfaces unchanged.
inline constexpr Rgb kKeyColour = rgb(255, 0, 255);

enum class GraphicMood {
    Jewel,  // bright bevelled bricks with gem studs: the main set
    Neon,   // dark glass with glowing outlines: the night set
};

struct GraphicSetDesign {
    std::string setName;
    std::string staffName;
    std::string folderName;  // sub-folder of the graphics folder
    std::string fileName;    // ".bgp" file
    GraphicMood mood;
};

// The starter graphic sets, main set first.
std::array<GraphicSetDesign, 2> StarterGraphicSets();

// The bitmap file name of a slot (0..22), e.g. "Block3.bmp", "Bomb.bmp", "Bar.bmp".
std::string SlotFileName(int slot);

// The picture of a slot, at the slot's required size; keyed slots (special blocks and
// balls) have a zero-coverage background that BMP writing turns into kKeyColour.
Canvas DrawSlot(GraphicMood mood, int slot);

// True for the slots the game draws with the colour key.
bool IsKeyedSlot(int slot);

// The studio logo shown for four seconds when the game starts, 640 x 480.
Canvas DrawLogo();

}  // namespace qon::content
