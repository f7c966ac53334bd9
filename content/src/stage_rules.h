// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "qon/data/stage.h"

namespace qon::content {

// The rules every starter stage keeps, so that a ball can always finish it. They are
// judged from the Kind of each cell alone (the geometry is the game's: cells of 53 × 15
// pixels at x = 53·column + 2, y = 15·row + 30; the ball bounces at x 1 and 639 and at
// y 31; the Bar's top is at y 386):
//
//  1. Rows. Blocks stay in rows 0 to 17, so that the ball has room to come back to the
//     Bar (row 23), and the stage holds at least one breakable block.
//  2. Gaps. Between the top of the field and an unbreakable block, and between two
//     unbreakable blocks of one column, lie either no cells or at least two. A slot of
//     one row is 15 pixels high and the contact strips around its walls leave 11 of
//     them, less than the 12-pixel ball: the ball cannot use it, only rattle at its
//     mouth.
//  3. Reach. Every breakable block can be touched by the ball coming up from the Bar.
//     The ball's path is the 12 × 12 ball with a 2-pixel margin all round (the distance
//     a push-out moves it away from a block); it passes everything but unbreakable
//     blocks, whose 3-pixel side strips and 2-pixel top and bottom strips count as part
//     of them. Breakable blocks give way and special blocks let the ball through or
//     break, so they never stop it. A bomb the ball can reach clears its eight
//     neighbours, unbreakable ones included, and so may open the way to more.
//  4. Pockets. In a stage with a warp, which drops the ball anywhere, no space where the
//     ball fits is sealed off from the Bar: a ball warped into it would never come out.
//
// Returns one text per broken rule and place ("reach: row 3, column 5: ..."), or none.
std::vector<std::string> CheckStageRules(const StageGrid& grid);

}  // namespace qon::content
