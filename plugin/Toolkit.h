// The window toolkit, hosted inside the module for the length of one request.
#pragma once

#include <memory>

namespace vlh {

// The toolkit's stand-in for the host's main window (defined in Toolkit.cpp).
class HostWindow;

// Starts the toolkit with the host's main window as the owner of every window
// and shuts it down again when the session ends, on every path out of a
// request. Windows made in between are made without a parent; a modal one is
// owned by the host's window.
//
// Without a display the toolkit is not started: started() is false, no window
// can be shown, and nothing of the toolkit is touched on the way out.
class ToolkitSession {
public:
    ToolkitSession();
    ~ToolkitSession();
    ToolkitSession(const ToolkitSession&) = delete;
    ToolkitSession& operator=(const ToolkitSession&) = delete;

    // False when the toolkit could not start (no display).
    bool started() const { return wrapper_ != nullptr; }

private:
    // Present while the toolkit runs. Destroyed after the toolkit's cleanup:
    // by then it no longer holds the host's window.
    std::unique_ptr<HostWindow> wrapper_;
};

} // namespace vlh
