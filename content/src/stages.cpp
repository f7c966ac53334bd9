// SPDX-License-Identifier: MIT
#include "stages.h"

#include <cassert>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qon::content {

namespace {

// How the starter stages are made. Each layout lists rows from the top (rows not given
// are empty), one character per cell as KindForSymbol reads it.
//
// The rules every stage keeps (CheckStageRules, tested over the written stages):
//  - blocks stay in rows 0 to 17: the Bar stands in row 23 and the ball needs room to
//    come back to it;
//  - no breakable block is sealed off by unbreakable blocks or the walls from the path
//    of the 12 x 12 ball (a bomb the ball reaches may open the way);
//  - no slot one row high under the top of the field or between two unbreakable
//    blocks of a column: the strips around it leave 11 pixels for the 12-pixel ball;
//  - a stage with a warp seals off no space at all, or a warped ball could be lost in it.
//
// What makes a stage fair here. The Bar only mirrors the ball's speed, so a player
// cannot aim; the ball's way is set by the walls, the blocks it bounces off and the
// special blocks that change its speed. Every trip from the Bar to a block and back
// takes about a hundred frames, so a plain stage takes about a hundred frames per hit
// point. The slow part is the last few blocks when they stand alone in an empty field
// and the ball keeps to one loop that misses them. So the stages
//  - keep wide layers rather than lone blocks, and open ways above the layers (a gap, a
//    chimney or a steel roof with free rows under it) where the ball rattles and breaks
//    blocks quickly;
//  - pair winds, which tend to settle the ball at five pixels per frame both ways (a
//    closed loop), with pins or a second wind that shake it loose;
//  - put warps where the ball meets them on its way up (the top row), so that a warped
//    ball still climbs and the player has time to get under it;
//  - use bombs, fire balls and mini balls to make the big late stages possible.
// A simple scripted player (content/tools) clears every stage, in nearly every seed,
// well within five minutes; content/README.md lists the times.
using Layout = std::vector<std::string_view>;

const std::vector<Layout>& starlightLayouts() {
    // clang-format off
    static const std::vector<Layout> kLayouts = {
        // 1. First light: plain bricks of one and two hits.
        {"............",
         "............",
         "............",
         "............",
         ".1111111111.",
         ".1222222221.",
         ".1111111111."},
        // 2. Wide bar: stairs on both sides, a bar extender at their foot.
        {"............",
         "............",
         "............",
         ".2........2.",
         ".22......22.",
         ".222....222.",
         ".2222..2222.",
         "............",
         ".....EE....."},
        // 3. Tough shells: three-hit shells that show their damage, around two-hit hearts.
        {"............",
         "............",
         "............",
         "..33....33..",
         ".3223..3223.",
         "..33....33..",
         "............",
         ".1111..1111."},
        // 4. Steel roof: unbreakable blocks. Once the ball is through the bricks it rattles
        //    between them and the roof.
        {"............",
         "............",
         "............",
         "...######...",
         "............",
         "............",
         ".3333333333.",
         ".2222222222.",
         ".1111111111."},
        // 5. Mini balls: two items under the wall, each a burst of five mini balls.
        {"............",
         "............",
         "............",
         ".3333333333.",
         ".2222222222.",
         ".1111111111.",
         "............",
         "...M....M..."},
        // 6. Pinball: pins throw the ball off in a new direction.
        {"............",
         "............",
         "..P......P..",
         "............",
         ".3333333333.",
         ".2222222222.",
         ".1111111111.",
         "............",
         ".....PP....."},
        // 7. Crosswind: side winds bend the ball's path; pins at the walls keep it from settling
        //    into one loop.
        {"............",
         "............",
         ".2222222222.",
         ".3333333333.",
         "............",
         "P..........P",
         "............",
         ".1111111111.",
         "............",
         "...<....>..."},
        // 8. Updraft: down-winds under the ceiling, up-winds between the layers.
        {"............",
         ".v........v.",
         "............",
         ".3333333333.",
         ".2222222222.",
         "............",
         "..^......^..",
         "............",
         ".1111111111."},
        // 9. Demolition: a bomb in the heart of each pile takes its neighbours with it.
        {"............",
         "............",
         ".333....333.",
         ".3B3....3B3.",
         ".333....333.",
         "............",
         "...222222...",
         "...22B222...",
         "...222222..."},
        // 10. Fire: the fire ball waits above the wall; once reached, the ball burns through
        //    everything breakable.
        {".....F......",
         "............",
         "............",
         ".3333333333.",
         ".3333333333.",
         ".3333333333."},
        // 11. Warp: a warp at the top of the chimney drops the ball anywhere.
        {".....W......",
         "............",
         "............",
         ".3333..3333.",
         ".3333..3333.",
         ".2222..2222."},
        // 12. Magnet: magnets at the sides make the Bar catch the ball, so the player can choose
        //    where to launch.
        {"............",
         "............",
         "............",
         "............",
         "..33333333..",
         "..33333333..",
         "..22222222..",
         "............",
         "G..........G"},
        // 13. Star garden: flowers over a hedge, with mini balls, magnets and a wider Bar.
        {"............",
         "............",
         "..2..22..2..",
         ".212.11.212.",
         "..2..22..2..",
         "............",
         ".2.2.2.2.2.2",
         "2.2.2.2.2.2.",
         "............",
         "..M......M..",
         "............",
         "G....EE....G"},
        // 14. Fortress: steel-walled wings open only from below, a bomb inside each.
        {"............",
         "............",
         "............",
         "####....####",
         "#444....444#",
         "#4B4....4B4#",
         "#444....444#",
         "............",
         "...333333...",
         "...3....3..."},
        // 15. Pinball alley: a steel roof over a deep wall, pins at both walls.
        {"............",
         "............",
         "............",
         "..########..",
         "............",
         "............",
         ".3333333333.",
         ".3333333333.",
         ".3333333333.",
         "............",
         "P..........P"},
        // 16. Warp gate: warps in the top corners, winds pushing toward the middle.
        {"W..........W",
         "............",
         "............",
         ".4444..4444.",
         ".4444..4444.",
         ".4444..4444.",
         "............",
         "............",
         "..>......<.."},
        // 17. Pillars: steel pillars under a deep wall split the ball's way up; their tops send
        //    it back.
        {"............",
         "............",
         ".3333333333.",
         ".3333333333.",
         ".3333333333.",
         "............",
         ".#..#..#..#.",
         ".#..#..#..#.",
         ".#..#..#..#.",
         "............",
         "...P....P..."},
        // 18. Labyrinth: a steel maze of eight-hit blocks; fire balls lie at its gate, pins in
        //    its lower corners.
        {"............",
         "............",
         "............",
         "####....####",
         "#..........#",
         "#.888..888.#",
         "#.8#....#8.#",
         "#.8#.MM.#8.#",
         "#.8#....#8.#",
         "#P........P#",
         "##..FFFF..##",
         "............",
         "............",
         "............",
         "P..........P"},
        // 19. Thunderhead: a checkered cloud of heavy blocks, bombs below it, warps and winds
        //    all round.
        {"W....v.....W",
         "............",
         "............",
         ".6.6.6.6.6.6",
         "6.6.6.6.6.6.",
         "............",
         "..B......B..",
         ".5555..5555.",
         ".5B55..55B5.",
         "............",
         "<....PP....>"},
        // 20. Heavy metal: seven- and eight-hit piles against the ceiling; dig in to the bomb at
        //    each heart.
        {"..777..777..",
         "..7B7..7B7..",
         "..777..777..",
         "............",
         ".666....666.",
         ".6B6....6B6.",
         ".666....666.",
         "............",
         "....M..M...."},
        // 21. Grand finale: everything at once.
        {"............",
         "............",
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

// Picture stages: gentle first, the larger pictures later.
const std::vector<Layout>& doodleLayouts() {
    // clang-format off
    static const std::vector<Layout> kLayouts = {
        // 1. Crescent moon among twinkling pins.
        {"............",
         "....1111....",
         "..111.....P.",
         ".11.........",
         ".11......P..",
         ".11.........",
         "..111...P...",
         "....1111....",
         "............",
         "...E....E..."},
        // 2. Rocket: fire in its engine, steel fins.
        {"............",
         ".....22.....",
         "....2222....",
         "....2112....",
         "....2112....",
         "....2222....",
         "...#2222#...",
         "..##2222##..",
         "....PFFP....",
         "............",
         "............",
         "E..........E"},
        // 3. Shooting star with a fiery heart.
        {"............",
         ".....11.....",
         "....1111....",
         "111111111111",
         ".1111FF1111.",
         "..11111111..",
         ".1111..1111.",
         "111......111",
         "11........11"},
        // 4. Smile: mini balls hide in its nose.
        {"............",
         "....2222....",
         "..22....22..",
         ".2..3..3..2.",
         ".2...M....2.",
         ".2.3....3.2.",
         ".2..3333..2.",
         "..22....22..",
         "....2222...."},
        // 5. Heart: a bomb at its core blasts it open.
        {"............",
         "...33..33...",
         "..31133113..",
         "..31111113..",
         "..3111B113..",
         "..31111113..",
         "...311113...",
         "....3113....",
         ".....33....."},
        // 6. Fish: a mini ball for an eye, magnets in the water below.
        {"............",
         "............",
         "....2222....",
         "..22222222.2",
         ".2M222222222",
         ".22222222222",
         "..22222222.2",
         "....2222....",
         "............",
         "...G....G..."},
        // 7. Mushroom with two bombs among its spots.
        {"............",
         "...222222...",
         "..22B22B22..",
         ".2222222222.",
         ".3333333333.",
         "....3333....",
         "....3333...."},
        // 8. Cat: winds tug at its whiskers.
        {"............",
         ".2........2.",
         ".22......22.",
         ".2222222222.",
         ".22.2222.22.",
         ".2222222222.",
         ".222.22.222.",
         "..22222222..",
         "...222222...",
         "............",
         "<..........>"},
        // 9. Ghost: it haunts the top corners with warps.
        {"W..........W",
         "............",
         "....3333....",
         "...333333...",
         "..33.33.33..",
         "..33333333..",
         "..33333333..",
         "..3.33.33.3."},
        // 10. The name of the game on a steel stand, with a magnet to aim.
        {"............",
         "............",
         ".2...2..2.2.",
         "2.2.2.2.222.",
         "2.2.2.2.222.",
         "2.2.2.2.2.2.",
         ".22..2..2.2.",
         "............",
         "............",
         "............",
         "###......###",
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
