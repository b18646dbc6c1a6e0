// The host's main window on Windows: a plain top-level window, shown, so that
// a module's dialogs have an owner as they do over the real host's window.
// The module receives its HWND from UIHooks.MainAppWindow.
#pragma once

#include "host/core/Host.h"

#include <chrono>
#include <functional>
#include <string>

struct HWND__;

namespace vhost::win {

class MainWindow {
public:
    // Creates and shows the window and makes it what host's
    // UIHooks.MainAppWindow answers. Throws std::runtime_error when the
    // system refuses the window.
    explicit MainWindow(Host& host, const std::string& title = "Vellicor Host");
    // Takes the answer back and destroys the window (if it still exists).
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND__* Handle() const { return window_; }
    // False once anyone has destroyed the window.
    bool Alive() const;

private:
    Host& host_;
    HWND__* window_ = nullptr;
};

// Runs the thread's message loop until done() is true or the timeout passes;
// true when done() became true.
bool ProcessMessagesUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

} // namespace vhost::win
