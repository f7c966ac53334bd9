// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qon/data/stage.h"

namespace qon::content {

// The stage code a layout character stands for:
//   '.' empty, '1'..'8' a normal block with that many hits, '#' unbreakable,
//   'P' pin, 'M' mini balls, '<' '>' 'v' '^' winds, 'G' magnet, 'W' warp,
//   'E' bar extend, 'F' fire ball, 'B' bomb.
// Returns -1 for any other character.
int KindForSymbol(char symbol);

struct StarterStageProject {
    std::string folderName;  // sub-folder of the stages folder
    std::string fileName;    // ".stp" file
    StageProject project;    // stages in rising difficulty, editor geometry
};

// The starter stage projects, main project first: "Starlight Tour", 21 stages that
// teach one special block after the other (stages 1 to 12), then combine them and end
// with four hard ones; and "Moonlight Doodles", 10 picture stages. Each project rises
// in difficulty.
std::vector<StarterStageProject> StarterStageProjects();

}  // namespace qon::content
