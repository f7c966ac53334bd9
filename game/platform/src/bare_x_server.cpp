// SPDX-License-Identifier: MIT
#include "bare_x_server.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

namespace qon::platform {

bool OnBareXServer(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    // Xlib is already loaded for SDL; its functions are looked up rather than linked, so
    // the game needs no X library of its own.
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (xlib == nullptr) return false;
    using InternAtom = Atom (*)(Display*, const char*, Bool);
    using RootWindow = Window (*)(Display*);
    using GetProperty = int (*)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*,
                                unsigned long*, unsigned long*, unsigned char**);
    using Free = int (*)(void*);
    const auto internAtom = reinterpret_cast<InternAtom>(dlsym(xlib, "XInternAtom"));
    const auto rootWindow = reinterpret_cast<RootWindow>(dlsym(xlib, "XDefaultRootWindow"));
    const auto getProperty = reinterpret_cast<GetProperty>(dlsym(xlib, "XGetWindowProperty"));
    const auto free = reinterpret_cast<Free>(dlsym(xlib, "XFree"));
    bool bare = false;
    if (internAtom != nullptr && rootWindow != nullptr && getProperty != nullptr &&
        free != nullptr) {
        Display* display = info.info.x11.display;
        // Every window manager of the freedesktop conventions names its check window on
        // the root window; a server that never had one does not even know the atom.
        const Atom check = internAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
        if (check == None) {
            bare = true;
        } else {
            Atom type = None;
            int format = 0;
            unsigned long count = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            const int status = getProperty(display, rootWindow(display), check, 0, 1, False,
                                           XA_WINDOW, &type, &format, &count, &after, &data);
            bare = status != Success || type != XA_WINDOW || count != 1;
            if (data != nullptr) free(data);
        }
    }
    dlclose(xlib);  // drops this lookup's reference only
    return bare;
#else
    (void)window;
    return false;
#endif
}

}  // namespace qon::platform
