#include "plugin/DisplayCheck.h"

#if defined(_WIN32)

namespace vlh {

// Windows always has its desktop.
bool DisplayAvailable() {
    return true;
}

} // namespace vlh

#else

#include <X11/Xlib.h>
#include <gdk/gdk.h>

namespace vlh {

bool DisplayAvailable() {
    if (gdk_display_get_default() != nullptr) {
        return true;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

} // namespace vlh

#endif
