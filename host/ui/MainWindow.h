// The host's main window: a GTK top-level window that the host shows when a
// display is available, so that a module's dialogs have an owner, as they do
// over the real host's main window. The module receives it from
// UIHooks.MainAppWindow as the window's GtkWidget* in an intptr_t.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vhost::ui {

class MainWindow {
public:
    // Starts GTK (once per process) and shows the window, returning once the
    // X server has mapped it. nullptr without a display.
    static std::unique_ptr<MainWindow> Open(const std::string& title = "Vellicor Host");

    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // What UIHooks.MainAppWindow answers: the GtkWidget* as an integer.
    intptr_t Handle() const;
    // The X window behind it (0 once it is gone).
    unsigned long XWindow() const;
    // False once anyone has destroyed the window.
    bool Alive() const;

    // Made by Open only.
    struct State;
    class Key {
        friend class MainWindow;
        Key() = default;
    };
    MainWindow(Key, std::unique_ptr<State> state);

private:
    std::unique_ptr<State> state_;
};

// Runs the GTK main loop until done() is true or the timeout passes; true
// when done() became true.
bool ProcessEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

} // namespace vhost::ui
