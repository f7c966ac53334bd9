// SPDX-License-Identifier: MIT
#include "qon/shell/scripted_player.h"

#include <algorithm>

#include "qon/play/game.h"

namespace qon::shell {

PlayerView ViewOf(const play::Game& game) {
    const play::PlayState& p = game.play;
    PlayerView view;
    view.screen = game.screen;
    view.ballX = p.Ball.X;
    view.ballY = p.Ball.Y;
    view.barX = p.Bar.X;
    view.barY = p.Bar.Y;
    view.barWidth = p.Bar.Width;
    view.cursor = game.menu.MenuCursor;
    for (int i = 0; i < game.menu.MenuCount; ++i) {
        view.items.push_back(game.menu.MenuItems[static_cast<std::size_t>(i)].Text);
    }
    return view;
}

ScriptedPlayer::ScriptedPlayer(std::uint32_t seed) : m_player(seed) {}

PlayerKeys ScriptedPlayer::menu(const PlayerView& view, std::string_view wanted) {
    PlayerKeys keys;
    // One press at a time: the menus wait for a key to be released before they take it
    // again, and they latch a key that was already held when they opened.
    if (m_pressedLastFrame) {
        m_pressedLastFrame = false;
        return keys;
    }
    const auto item = std::find(view.items.begin(), view.items.end(), wanted);
    if (item == view.items.end()) return keys;
    if (view.cursor == static_cast<int>(item - view.items.begin())) {
        keys.space = true;
    } else {
        keys.down = true;
    }
    m_pressedLastFrame = true;
    return keys;
}

PlayerKeys ScriptedPlayer::next(const PlayerView& view) {
    PlayerKeys keys;
    if (view.screen == "play") {
        const autoplay::Move move = m_player.next({.ballX = view.ballX,
                                                   .ballY = view.ballY,
                                                   .barX = view.barX,
                                                   .barY = view.barY,
                                                   .barWidth = view.barWidth});
        keys.left = move.stick < 0;
        keys.right = move.stick > 0;
        keys.space = move.launch;
    } else if (view.screen == "title") {
        keys = menu(view, "New Game");
    } else if (view.screen == "save") {
        keys = menu(view, "NEXT");
    } else if (view.screen == "gameover") {
        keys = menu(view, " Continue");
    } else if (view.screen == "logo" || view.screen == "ending") {
        keys.space = true;
    }
    return keys;
}

}  // namespace qon::shell
