// SPDX-License-Identifier: MIT
#include "stage_rules.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

namespace qon::content {

namespace {

constexpr int kLastBlockRow = 17;
constexpr int kBallSize = 12;
constexpr int kPathMargin = 2;
// Where the ball's top-left corner can be while it flies above the Bar: the walls stop
// it at x 1 and 639 - 12 and at y 31; the Bar's top is at y 386.
constexpr int kMinX = 1;
constexpr int kMaxX = 639 - kBallSize;
constexpr int kMinY = 31;
constexpr int kMaxY = 386 - kBallSize;
constexpr int kPositionsX = kMaxX - kMinX + 1;
constexpr int kPositionsY = kMaxY - kMinY + 1;
// The ball resting on the Bar at the start of a stage.
constexpr int kStartX = 378;
constexpr int kStartY = 374;
// Top and bottom strips start this far inside a block's ends for the main ball.
constexpr int kStripInset = 6;

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive
};

Box cellBox(int cell) {
    const int row = cell / kGridColumns;
    const int column = cell % kGridColumns;
    const int x = kCellWidth * column + 2;
    const int y = kCellHeight * row + 30;
    return {x, y, x + kCellWidth, y + kCellHeight};
}

// The strips around a block that a ball touches to act on it.
std::vector<Box> contactStrips(int cell) {
    const Box b = cellBox(cell);
    return {{b.left - 3, b.top, b.left, b.bottom},
            {b.right, b.top, b.right + 3, b.bottom},
            {b.left + kStripInset, b.top - 2, b.right - kStripInset, b.top},
            {b.left + kStripInset, b.bottom, b.right - kStripInset, b.bottom + 2}};
}

// An unbreakable block together with its strips: a ball that overlaps any of it is
// pushed away.
Box solidZone(int cell) {
    const Box b = cellBox(cell);
    return {b.left - 3, b.top - 2, b.right + 3, b.bottom + 2};
}

bool isBreakable(int kind) {
    return kind >= Kind::kNormalFirst && kind <= Kind::kNormalLast;
}

std::string place(int row, int column) {
    return "row " + std::to_string(row) + ", column " + std::to_string(column);
}

// Ball positions, one flag each, indexed by the ball's top-left corner.
class Positions {
  public:
    Positions() : m_flags(static_cast<std::size_t>(kPositionsX) * kPositionsY, 0) {}
    bool at(int x, int y) const { return m_flags[index(x, y)] != 0; }
    void set(int x, int y) { m_flags[index(x, y)] = 1; }
    // Every position whose ball, grown by `margin` on each side, overlaps the box.
    void setOverlapping(const Box& box, int margin) {
        const int xLow = std::max(kMinX, box.left - kBallSize - margin + 1);
        const int xHigh = std::min(kMaxX, box.right + margin - 1);
        const int yLow = std::max(kMinY, box.top - kBallSize - margin + 1);
        const int yHigh = std::min(kMaxY, box.bottom + margin - 1);
        for (int y = yLow; y <= yHigh; ++y) {
            for (int x = xLow; x <= xHigh; ++x) set(x, y);
        }
    }
    bool anyOverlapping(const Box& box) const {
        const int xLow = std::max(kMinX, box.left - kBallSize + 1);
        const int xHigh = std::min(kMaxX, box.right - 1);
        const int yLow = std::max(kMinY, box.top - kBallSize + 1);
        const int yHigh = std::min(kMaxY, box.bottom - 1);
        for (int y = yLow; y <= yHigh; ++y) {
            for (int x = xLow; x <= xHigh; ++x) {
                if (at(x, y)) return true;
            }
        }
        return false;
    }

  private:
    static std::size_t index(int x, int y) {
        return static_cast<std::size_t>(y - kMinY) * kPositionsX +
               static_cast<std::size_t>(x - kMinX);
    }
    std::vector<std::uint8_t> m_flags;
};

Positions blockedBy(const std::vector<int>& kinds, int margin) {
    Positions blocked;
    for (int cell = 0; cell < kGridCells; ++cell) {
        if (kinds[static_cast<std::size_t>(cell)] == Kind::kUnbreakable) {
            blocked.setOverlapping(solidZone(cell), margin);
        }
    }
    return blocked;
}

// Every position the ball gets to from its start on the Bar, a pixel at a time.
Positions reachableFrom(const Positions& blocked) {
    Positions reached;
    if (blocked.at(kStartX, kStartY)) return reached;
    std::vector<std::pair<int, int>> open{{kStartX, kStartY}};
    reached.set(kStartX, kStartY);
    while (!open.empty()) {
        const auto [x, y] = open.back();
        open.pop_back();
        const std::pair<int, int> steps[4] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& [nx, ny] : steps) {
            if (nx < kMinX || nx > kMaxX || ny < kMinY || ny > kMaxY) continue;
            if (blocked.at(nx, ny) || reached.at(nx, ny)) continue;
            reached.set(nx, ny);
            open.emplace_back(nx, ny);
        }
    }
    return reached;
}

bool touchable(const Positions& reached, int cell) {
    for (const Box& strip : contactStrips(cell)) {
        if (reached.anyOverlapping(strip)) return true;
    }
    return false;
}

void checkRows(const std::vector<int>& kinds, std::vector<std::string>& breaks) {
    int breakable = 0;
    for (int cell = 0; cell < kGridCells; ++cell) {
        const int kind = kinds[static_cast<std::size_t>(cell)];
        const int row = cell / kGridColumns;
        if (!IsKnownKind(kind)) {
            breaks.push_back("rows: " + place(row, cell % kGridColumns) + ": unknown kind " +
                             std::to_string(kind));
        } else if (kind != Kind::kEmpty && row > kLastBlockRow) {
            breaks.push_back("rows: " + place(row, cell % kGridColumns) +
                             ": a block below row 17, too close to the Bar");
        }
        if (row < 28 && isBreakable(kind)) ++breakable;
    }
    if (breakable == 0) breaks.push_back("rows: no breakable block, the stage would clear at once");
}

void checkGaps(const std::vector<int>& kinds, std::vector<std::string>& breaks) {
    for (int column = 0; column < kGridColumns; ++column) {
        int wallAbove = -1;  // the top of the field acts as a wall above row 0
        for (int row = 0; row < kGridRows; ++row) {
            if (kinds[static_cast<std::size_t>(row * kGridColumns + column)] != Kind::kUnbreakable)
                continue;
            if (row - wallAbove - 1 == 1) {
                breaks.push_back("gaps: " + place(row - 1, column) +
                                 ": a slot one row high, too low for the ball");
            }
            wallAbove = row;
        }
    }
}

void checkReach(std::vector<int> kinds, std::vector<std::string>& breaks) {
    // Bombs the ball reaches blow their neighbours away, which may open more of the
    // stage; repeat until nothing more opens.
    // A bomb's blast also takes a neighbouring bomb away without setting it off.
    Positions reached;
    for (bool opened = true; opened;) {
        opened = false;
        reached = reachableFrom(blockedBy(kinds, kPathMargin));
        for (int cell = 0; cell < kGridCells; ++cell) {
            if (kinds[static_cast<std::size_t>(cell)] != Kind::Bomb || !touchable(reached, cell))
                continue;
            const int row = cell / kGridColumns;
            const int column = cell % kGridColumns;
            for (int r = std::max(0, row - 1); r <= std::min(kGridRows - 1, row + 1); ++r) {
                for (int c = std::max(0, column - 1); c <= std::min(kGridColumns - 1, column + 1);
                     ++c) {
                    int& kind = kinds[static_cast<std::size_t>(r * kGridColumns + c)];
                    if (kind == Kind::kUnbreakable) opened = true;
                    kind = Kind::kEmpty;
                }
            }
        }
    }
    for (int cell = 0; cell < kGridCells; ++cell) {
        if (isBreakable(kinds[static_cast<std::size_t>(cell)]) && !touchable(reached, cell)) {
            breaks.push_back("reach: " + place(cell / kGridColumns, cell % kGridColumns) +
                             ": the ball cannot get to this block");
        }
    }
}

void checkPockets(const std::vector<int>& kinds, std::vector<std::string>& breaks) {
    if (std::find(kinds.begin(), kinds.end(), Kind::Warp) == kinds.end()) return;
    const Positions blocked = blockedBy(kinds, 0);
    const Positions reached = reachableFrom(blocked);
    std::set<std::pair<int, int>> cells;
    for (int y = kMinY; y <= kMaxY; ++y) {
        for (int x = kMinX; x <= kMaxX; ++x) {
            if (blocked.at(x, y) || reached.at(x, y)) continue;
            // Named by the cell under the ball's centre.
            cells.emplace((y + kBallSize / 2 - 30) / kCellHeight,
                          std::min(kGridColumns - 1, (x + kBallSize / 2 - 2) / kCellWidth));
        }
    }
    for (const auto& [row, column] : cells) {
        breaks.push_back("pockets: " + place(row, column) +
                         ": sealed space that a warped ball could never leave");
    }
}

}  // namespace

std::vector<std::string> CheckStageRules(const StageGrid& grid) {
    std::vector<int> kinds;
    kinds.reserve(kGridCells);
    for (const BlockCell& cell : grid) kinds.push_back(cell.Kind);
    std::vector<std::string> breaks;
    checkRows(kinds, breaks);
    checkGaps(kinds, breaks);
    checkReach(kinds, breaks);
    checkPockets(kinds, breaks);
    return breaks;
}

}  // namespace qon::content
