// SPDX-License-Identifier: MIT
#include "qon/play/menu.h"

#include "qon/play/game.h"

namespace qon::play {

namespace {
constexpr std::uint32_t kItemHighlight = media::Rgb(255, 255, 255);
constexpr std::uint32_t kItemPlain = media::Rgb(155, 155, 155);
constexpr int kItemTextSize = 14;
}  // namespace

void Menu::MenuClear() {
    for (MenuItem& item : MenuItems) {
        item.Id = -1;
        item.Text.clear();
        item.X = 0;
        item.Y = 0;
    }
    MenuCount = 0;
    MenuCursor = 0;
}

bool Menu::MenuAdd(std::string_view text) {
    if (MenuCount >= kMenuSlots) {
        return false;
    }
    MenuItem& item = MenuItems[static_cast<std::size_t>(MenuCount)];
    item.Text.assign(text);
    item.Id = MenuCount;
    ++MenuCount;
    return true;
}

int Menu::MenuPoll(media::Media& media, const SoundEffects& sounds, int mask, int x, int y0,
                   int spacing) {
    for (int i = 0; i < MenuCount; ++i) {
        MenuItems[static_cast<std::size_t>(i)].X = static_cast<std::int16_t>(x);
        MenuItems[static_cast<std::size_t>(i)].Y = static_cast<std::int16_t>(y0 + i * spacing);
    }
    media.ReadController();
    const media::ControllerState& pad = media.controller();

    if (pad.ControllerY == -1 && !upLatch) {
        upLatch = true;
        if (sounds.SeCur) media.PlaySoundEffect(*sounds.SeCur);
        if (MenuCount > 0) {
            MenuCursor =
                static_cast<std::int16_t>(MenuCursor - 1 < 0 ? MenuCount - 1 : MenuCursor - 1);
        }
    }
    if (pad.ControllerY == 1 && !downLatch) {
        downLatch = true;
        if (sounds.SeCur) media.PlaySoundEffect(*sounds.SeCur);
        if (MenuCount > 0) {
            MenuCursor =
                static_cast<std::int16_t>(MenuCursor + 1 > MenuCount - 1 ? 0 : MenuCursor + 1);
        }
    }

    const std::int32_t buttons = pad.ControllerButtons;
    const bool spaceDown = media.IsKeyDown(media::Vk::Space);
    if (MenuCount > 0) {
        // A choice returns at once: the latches of the other controls are left as
        // they are until the next poll.
        if (buttons == 0) {
            if (spaceDown && !spaceLatch) {
                spaceLatch = true;
                return MenuCursor;
            }
        } else if (buttons == mask && !buttonLatch) {
            buttonLatch = true;
            return MenuCursor;
        }
    }

    if (buttons == 0) buttonLatch = false;
    if (!spaceDown) spaceLatch = false;
    if (pad.ControllerY == 0) {
        downLatch = false;
        upLatch = false;
    }
    return -1;
}

void Menu::DrawMenuItems(media::Media& media) const {
    media::Surface& back = media.BackBuffer();
    for (int i = 0; i < MenuCount; ++i) {
        const MenuItem& item = MenuItems[static_cast<std::size_t>(i)];
        const std::uint32_t colour = item.Id == MenuCursor ? kItemHighlight : kItemPlain;
        media.DrawString(back, item.X, item.Y, item.Text, colour, false, kItemTextSize);
    }
}

}  // namespace qon::play
