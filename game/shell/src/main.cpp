// SPDX-License-Identifier: MIT
// qon: the game on the SDL platform.

#include "qon/data/paths.h"
#include "qon/platform/sdl_media.h"
#include "qon/shell/shell.h"

int main() {
    qon::platform::SdlMedia media;
    qon::shell::GameShell shell(media, qon::ProgramFolder());
    return shell.Form_Load();
}
