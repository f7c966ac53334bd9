// SPDX-License-Identifier: MIT
#pragma once

// The one vertical text menu that every menu screen of the game shares (title, config,
// load, save, pause, game over). Its four latches belong to the game, not to one
// screen: a press taken by one menu is not seen again by the next menu until the
// control has been released.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "qon/media/media.h"

namespace qon::play {

struct SoundEffects;

inline constexpr int kMenuSlots = 61;

struct MenuItem {
    std::int16_t Id = -1;  // the item's index; -1 for a free slot
    std::string Text;
    std::int16_t X = 0;  // top-left of its text
    std::int16_t Y = 0;
};

class Menu {
  public:
    // Every item freed; MenuCount 0; MenuCursor 0. The latches are kept.
    void MenuClear();
    // Appends an item (Id = its index). Returns false, adding nothing, when all 61
    // slots are in use.
    bool MenuAdd(std::string_view text);
    // Lays the items out at (x, y0 + i * spacing), reads the controller once, moves the
    // cursor (plays SeCur) and returns the index of a chosen item, or -1. A choice is
    // Space (while no joystick button is held) or ControllerButtons equal to `mask`.
    // An empty menu never reports a choice.
    int MenuPoll(media::Media& media, const SoundEffects& sounds, int mask, int x, int y0,
                 int spacing);
    // Draws every item's text at its laid-out place: size 14, opaque, white for the
    // cursor item and grey (155, 155, 155) for the others.
    void DrawMenuItems(media::Media& media) const;

    std::array<MenuItem, kMenuSlots> MenuItems{};
    std::int16_t MenuCount = 0;
    std::int16_t MenuCursor = 0;

    bool upLatch = false;
    bool downLatch = false;
    bool buttonLatch = false;
    bool spaceLatch = false;
};

}  // namespace qon::play
