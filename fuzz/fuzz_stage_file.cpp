// SPDX-License-Identifier: MIT
// The game's reading of one stage file into a reset grid.

#include "fuzz_input.h"
#include "qon/data/error.h"
#include "qon/data/stage.h"

namespace {

// What the play code relies on after a successful read: known kinds only, hit points
// and the alive flag derived from the kind, geometry untouched.
void checkGrid(const qon::StageGrid& grid) {
    qon::StageGrid reset;
    qon::ResetGrid(reset);
    for (int i = 0; i < qon::kGridCells; ++i) {
        const qon::BlockCell& cell = grid[static_cast<std::size_t>(i)];
        const qon::BlockCell& fresh = reset[static_cast<std::size_t>(i)];
        const std::string where = "cell " + std::to_string(i) + ": ";
        if (!qon::IsKnownKind(cell.Kind)) {
            qon::fuzz::Broken(where + "unknown kind " + std::to_string(cell.Kind));
        }
        const int hitPoints = cell.Kind <= qon::Kind::kUnbreakable ? cell.Kind + 1 : 1;
        if (cell.HitPoints != hitPoints) qon::fuzz::Broken(where + "wrong hit points");
        const int alive = cell.Kind == qon::Kind::kEmpty ? qon::kFalse : qon::kTrue;
        if (cell.Alive != alive) qon::fuzz::Broken(where + "wrong alive flag");
        if (cell.X != fresh.X || cell.Y != fresh.Y || cell.Width != fresh.Width ||
            cell.Height != fresh.Height) {
            qon::fuzz::Broken(where + "geometry changed");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = std::string(qon::fuzz::MemoryFiles::kFolder) + "Stage1.stg";
    qon::StageGrid grid;
    qon::ResetGrid(grid);
    try {
        qon::ParseStageFile(qon::fuzz::AsText(data, size), path, grid);
        checkGrid(grid);
    } catch (const qon::DataError&) {
    }
    return 0;
}
