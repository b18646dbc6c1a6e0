#include "tests/dialogs/XSession.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstring>

namespace vlh::dialogs {
namespace {

// Other clients' windows come and go while the tests look at them, and Xlib's
// default answer to a request on a window that has just gone is to end the
// process. While a trap is set, errors on the tests' own connection are
// dropped (the request then reports failure); errors on any other connection
// still reach whoever handled them before.
Display* trappedDisplay = nullptr;
XErrorHandler previousHandler = nullptr;

int DropTrappedError(Display* display, XErrorEvent* error) {
    if (display == trappedDisplay) {
        return 0;
    }
    return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display) {
        XSync(display_, False); // errors of earlier requests go to the earlier handler
        trappedDisplay = display_;
        previousHandler = XSetErrorHandler(DropTrappedError);
    }
    ~ErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previousHandler);
        trappedDisplay = nullptr;
        previousHandler = nullptr;
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

private:
    Display* display_;
};

} // namespace

XSession::XSession() {
    display_ = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (display_ != nullptr && !XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

XSession::~XSession() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

void XSession::MovePointer(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
}

void XSession::Click() {
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
}

void XSession::PressKey(const std::string& keysym, const char* modifier) {
    const KeyCode key = XKeysymToKeycode(display_, XStringToKeysym(keysym.c_str()));
    const KeyCode held = modifier != nullptr ? XKeysymToKeycode(display_, XStringToKeysym(modifier)) : 0;
    if (held != 0) {
        XTestFakeKeyEvent(display_, held, True, CurrentTime);
    }
    XTestFakeKeyEvent(display_, key, True, CurrentTime);
    XTestFakeKeyEvent(display_, key, False, CurrentTime);
    if (held != 0) {
        XTestFakeKeyEvent(display_, held, False, CurrentTime);
    }
    XSync(display_, False);
}

void XSession::Focus(unsigned long window) {
    const ErrorTrap trap(display_);
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XSync(display_, False);
}

std::optional<WindowGeometry> XSession::Geometry(unsigned long window) {
    const ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display_, window, &attributes) == 0) {
        return std::nullopt;
    }
    WindowGeometry g;
    Window child = 0;
    if (XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &g.x, &g.y, &child) == 0) {
        return std::nullopt;
    }
    g.width = attributes.width;
    g.height = attributes.height;
    g.viewable = attributes.map_state == IsViewable;
    return g;
}

std::vector<unsigned char> XSession::Property(unsigned long window, const char* name, unsigned long& type,
                                              int& format, unsigned long& items) {
    Atom actualType = None;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    items = 0;
    format = 0;
    type = None;
    const Atom atom = XInternAtom(display_, name, False);
    const ErrorTrap trap(display_);
    if (XGetWindowProperty(display_, window, atom, 0, 4096, False, AnyPropertyType, &actualType, &format,
                           &items, &after, &data) != Success ||
        data == nullptr) {
        return {};
    }
    // Xlib hands 32-bit items as longs.
    const size_t itemSize = format == 32 ? sizeof(long) : static_cast<size_t>(format / 8);
    std::vector<unsigned char> bytes(data, data + items * itemSize);
    XFree(data);
    type = actualType;
    return bytes;
}

std::string XSession::Title(unsigned long window) {
    unsigned long type = 0, items = 0;
    int format = 0;
    std::vector<unsigned char> bytes = Property(window, "_NET_WM_NAME", type, format, items);
    if (type == None) {
        bytes = Property(window, "WM_NAME", type, format, items);
    }
    return std::string(bytes.begin(), bytes.end());
}

unsigned long XSession::TransientFor(unsigned long window) {
    Window owner = 0;
    const ErrorTrap trap(display_);
    return XGetTransientForHint(display_, window, &owner) != 0 ? owner : 0;
}

MotifHints XSession::Hints(unsigned long window) {
    unsigned long type = 0, items = 0;
    int format = 0;
    const std::vector<unsigned char> bytes = Property(window, "_MOTIF_WM_HINTS", type, format, items);
    MotifHints hints;
    if (format != 32 || items < 3) {
        return hints;
    }
    long fields[3] = {};
    std::memcpy(fields, bytes.data(), sizeof fields);
    if ((fields[0] & 1) != 0) {
        hints.functions = static_cast<unsigned long>(fields[1]);
    }
    if ((fields[0] & 2) != 0) {
        hints.decorations = static_cast<unsigned long>(fields[2]);
    }
    return hints;
}

bool XSession::HasNetState(unsigned long window, const char* state) {
    unsigned long type = 0, items = 0;
    int format = 0;
    const std::vector<unsigned char> bytes = Property(window, "_NET_WM_STATE", type, format, items);
    const Atom wanted = XInternAtom(display_, state, False);
    for (unsigned long i = 0; format == 32 && i < items; ++i) {
        long atom = 0;
        std::memcpy(&atom, bytes.data() + i * sizeof(long), sizeof atom);
        if (static_cast<Atom>(atom) == wanted) {
            return true;
        }
    }
    return false;
}

int XSession::ScreenWidth() {
    return DisplayWidth(display_, DefaultScreen(display_));
}

int XSession::ScreenHeight() {
    return DisplayHeight(display_, DefaultScreen(display_));
}

} // namespace vlh::dialogs
