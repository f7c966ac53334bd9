// SPDX-License-Identifier: MIT
#include "stages.h"

#include <cassert>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qon::content {

namespace {

// Rows from the top; rows not given are empty. The bar stands at y 386, in row 23, so
// every block stays in rows 0 to 17: the ball must have room to come back, and rows
// below the bar could only be reached by a lucky mini ball.
using Layout = std::vector<std::string_view>;

const std::vector<Layout>& starlightLayouts() {
    // clang-format off
    static const std::vector<Layout> kLayouts = {
        // 1. First light: one- and two-hit bricks, and a wider bar to find early.
        {"............",
         "............",
         "............",
         "111111111111",
         "122222222221",
         "111111111111",
         "............",
         "..1.1.E.1.1."},
        // 2. Twin chests: each holds a mini ball item behind two-hit walls.
        {"............",
         "............",
         ".2222..2222.",
         ".2112..2112.",
         ".21M2..2M12.",
         ".2112..2112.",
         ".2222..2222.",
         "............",
         "...111111...",
         "...1.33.1..."},
        // 3. Pyramid: pins at its feet scatter the ball into the slopes.
        {"............",
         ".....55.....",
         "....4444....",
         "...333333...",
         "..22222222..",
         ".1111111111.",
         "111111111111",
         "P..........P",
         "............",
         "....P..P...."},
        // 4. Crosswind: side winds push the ball back to the middle, up-winds lift it
        // into the nest.
        {"............",
         "..33333333..",
         "..32222223..",
         "..321MM123..",
         "..32222223..",
         "..33333333..",
         "............",
         ">..........<",
         "............",
         "....^..^...."},
        // 5. Fortress: steel walls with a gate; a bomb inside each wing blasts the steel
        // open, and a fire ball burns through the ranks.
        {"............",
         "#####..#####",
         "#4444..4444#",
         "#4B44..44B4#",
         "#4444..4444#",
         "####....####",
         "............",
         "...2.F..2...",
         "...2....2..."},
        // 6. Magnet garden: a diamond of tough blocks; magnets let the player aim.
        {"............",
         ".....55.....",
         "....5445....",
         "...543345...",
         "..54322345..",
         "...543345...",
         "....5445....",
         ".....55.....",
         "............",
         "..G......G.."},
        // 7. Warp gate: warps throw the ball anywhere, a down-wind guards the ceiling.
        {"............",
         "W...v..v...W",
         "636363636363",
         "............",
         "555555555555",
         "............",
         "444.4444.444",
         "............",
         "...W....W..."},
        // 8. Pillars: steel columns split the field into shafts; pins at the bottom of
        // the shafts and up-winds keep the ball climbing.
        {"............",
         "8#8.7777.8#8",
         "8#8.7337.8#8",
         "8#8.7777.8#8",
         ".#........#.",
         ".#.#....#.#.",
         "...#.PP.#...",
         "............",
         "..^......^.."},
        // 9. Demolition: bombs hidden in heavy blocks; mini balls help with the rest.
        {"............",
         "..77777777..",
         "..7B7777B7..",
         "..77777777..",
         "..66666666..",
         "..6B6666B6..",
         "..66666666..",
         "............",
         "M....EE....M"},
        // 10. Grand finale: everything at once.
        {"............",
         "W##########W",
         "888888888888",
         "8B88M88M88B8",
         "777777777777",
         "#....FG....#",
         "666666666666",
         "............",
         ">...P..P...<",
         "............",
         ".....EE....."},
    };
    // clang-format on
    return kLayouts;
}

// A short, gentle second project of picture stages, for a relaxed game.
const std::vector<Layout>& doodleLayouts() {
    // clang-format off
    static const std::vector<Layout> kLayouts = {
        // 1. Crescent moon among twinkling pins.
        {"............",
         "....3333....",
         "..333.....P.",
         ".33.........",
         ".33......P..",
         ".33.........",
         "..333...P...",
         "....3333....",
         "............",
         "...E....E..."},
        // 2. Smile: mini balls hide in its nose.
        {"............",
         "....2222....",
         "..22....22..",
         ".2..3..3..2.",
         ".2...M....2.",
         ".2.3....3.2.",
         ".2..3333..2.",
         "..22....22..",
         "....2222...."},
        // 3. Heart: a bomb at its core blasts it open.
        {"............",
         "...33..33...",
         "..31133113..",
         "..31111113..",
         "..3111B113..",
         "..31111113..",
         "...311113...",
         "....3113....",
         ".....33....."},
        // 4. Shooting star: fire balls in its heart.
        {"............",
         ".....33.....",
         "....3223....",
         "333322223333",
         ".3222FF2223.",
         "..32222223..",
         ".3223..3223.",
         "323......323",
         "33........33"},
        // 5. The name of the game, on a steel stand, with a magnet to aim.
        {"............",
         ".5...5..5.5.",
         "5.5.5.5.555.",
         "5.5.5.5.555.",
         "5.5.5.5.5.5.",
         ".55..5..5.5.",
         "............",
         "##.######.##",
         "............",
         ".....G......"},
    };
    // clang-format on
    return kLayouts;
}

StageProject buildProject(std::string name, std::string staff, const std::vector<Layout>& layouts) {
    StageProject project;
    project.projectName = std::move(name);
    project.staffName = std::move(staff);
    for (const Layout& layout : layouts) {
        assert(layout.size() <= kGridRows && "a stage layout has more rows than the grid");
        StageGrid grid;
        ResetEditorGrid(grid);
        for (std::size_t row = 0; row < layout.size(); ++row) {
            assert(layout[row].size() == kGridColumns && "a stage layout row is not 12 cells");
            for (std::size_t column = 0; column < kGridColumns; ++column) {
                const int kind = KindForSymbol(layout[row][column]);
                assert(kind >= 0 && "unknown symbol in a stage layout");
                grid[row * kGridColumns + column].Kind = static_cast<std::int16_t>(kind);
            }
        }
        project.stages.push_back(grid);
    }
    return project;
}

}  // namespace

int KindForSymbol(char symbol) {
    switch (symbol) {
        case '.':
            return Kind::kEmpty;
        case '#':
            return Kind::kUnbreakable;
        case 'P':
            return Kind::Pin;
        case 'M':
            return Kind::MiniBallItem;
        case '<':
            return Kind::WindLeft;
        case '>':
            return Kind::WindRight;
        case 'v':
            return Kind::WindDown;
        case '^':
            return Kind::WindUp;
        case 'G':
            return Kind::Magnet;
        case 'W':
            return Kind::Warp;
        case 'E':
            return Kind::BarExtend;
        case 'F':
            return Kind::FireBall;
        case 'B':
            return Kind::Bomb;
        default:
            if (symbol >= '1' && symbol <= '8') return symbol - '1';
            return -1;
    }
}

std::vector<StarterStageProject> StarterStageProjects() {
    return {
        {"starlight", "StarlightTour.stp",
         buildProject("Starlight Tour", "Hoshi Kobo", starlightLayouts())},
        {"doodles", "MoonlightDoodles.stp",
         buildProject("Moonlight Doodles", "Hoshi Kobo", doodleLayouts())},
    };
}

}  // namespace qon::content
