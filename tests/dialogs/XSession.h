// The dialog tests' own connection to the X server: real pointer and key
// input through the XTest extension (the server delivers it as if a user had
// typed or clicked), and what the server knows of a window: its place, size,
// title, owner and window-manager hints.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

namespace vlh::dialogs {

// The decoration and function bits a window asks the window manager for
// (_MOTIF_WM_HINTS); a field is std::nullopt when the window does not set it.
struct MotifHints {
    std::optional<unsigned long> functions;
    std::optional<unsigned long> decorations;
};
constexpr unsigned long kMotifFunctionClose = 1UL << 5;
constexpr unsigned long kMotifDecorationTitle = 1UL << 3;

struct WindowGeometry {
    int x = 0, y = 0; // on the root window
    int width = 0, height = 0;
    bool viewable = false;
};

class XSession {
public:
    // Connects to $DISPLAY; Ok() is false when there is no display or no
    // XTest extension.
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool Ok() const { return display_ != nullptr; }

    // ---- input ------------------------------------------------------------
    void MovePointer(int x, int y);
    // Presses and releases mouse button 1 where the pointer is.
    void Click();
    // Presses and releases a key by its keysym name ("Escape", "Down",
    // "Return"), with a modifier key ("Alt_L", "Shift_L") held when given.
    void PressKey(const std::string& keysym, const char* modifier = nullptr);
    // Gives the keyboard to a window, as a window manager would.
    void Focus(unsigned long window);

    // ---- what the server knows ----------------------------------------------
    std::optional<WindowGeometry> Geometry(unsigned long window);
    std::string Title(unsigned long window);          // _NET_WM_NAME, else WM_NAME
    unsigned long TransientFor(unsigned long window); // 0 when none
    MotifHints Hints(unsigned long window);
    bool HasNetState(unsigned long window, const char* state); // e.g. "_NET_WM_STATE_MODAL"
    int ScreenWidth();
    int ScreenHeight();

private:
    std::vector<unsigned char> Property(unsigned long window, const char* name, unsigned long& type,
                                        int& format, unsigned long& items);
    Display* display_ = nullptr;
};

} // namespace vlh::dialogs
