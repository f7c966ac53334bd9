// SPDX-License-Identifier: MIT
#pragma once

#include <SDL.h>

namespace qon::platform {

// True when the window lives on an X server that runs no window manager (a kiosk, a
// virtual frame buffer, a bare remote display). Nobody there applies full-screen state:
// SDL asks for it and then waits a tenth of a second for a change that never comes, so
// the game covers the desktop with its window itself. False on other video drivers and
// whenever it cannot tell.
bool OnBareXServer(SDL_Window* window);

}  // namespace qon::platform
