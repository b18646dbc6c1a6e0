// Drives a window the module shows during a request, as a user would. A timer
// of this thread, which the module's modal loop keeps serving, watches for a
// shown window other than the host's; once one is there it records what the
// system says of it (owner, title, whether the host's window is disabled),
// then presses keys into it through the X server with xdotool, as a keyboard
// would. A window still there after the time limit is closed, so that a lost
// key press fails the test instead of hanging it.
//
// Works under wine's X11 driver, which names each window's X window in a
// window property; one driver at a time.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vhost::wintest {

struct SeenWindow {
    HWND window = nullptr;
    HWND owner = nullptr; // GetWindow(GW_OWNER)
    std::string title;
    std::string className;
    bool hostEnabled = true;      // the host's window took input while it was up
    HINSTANCE instance = nullptr; // the instance it was created under (GWLP_HINSTANCE)
    RECT client = {};
};

class DialogDriver {
public:
    // keys: xdotool key names, pressed in order ("Return", "Escape", "alt+h").
    DialogDriver(HWND hostWindow, std::vector<std::string> keys,
                 std::chrono::milliseconds limit = std::chrono::seconds(30));
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Every window driven so far, in order (several requests may each show one).
    const std::vector<SeenWindow>& Seen() const { return seen_; }
    // Why driving failed (no X window, xdotool would not start, time limit),
    // one line each; empty when all went as a user's keys would.
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Step();
    HWND ShownWindow() const;
    void Press(HWND window);

    HWND host_;
    std::vector<std::string> keys_;
    std::chrono::milliseconds limit_;
    UINT_PTR timer_ = 0;
    HWND current_ = nullptr; // the window being driven
    int ticksSeen_ = 0;
    std::chrono::steady_clock::time_point pressedAt_;
    bool closing_ = false;
    std::vector<SeenWindow> seen_;
    std::vector<std::string> problems_;
    static DialogDriver* active_;
};

} // namespace vhost::wintest
