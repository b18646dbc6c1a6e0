// The window toolkit, hosted inside the module for the length of one request.
#pragma once

namespace vlh {

// Starts the toolkit with the host's main window as the owner of every window
// and shuts it down again when the session ends, on every path out of a
// request.
class ToolkitSession {
public:
    ToolkitSession();
    ~ToolkitSession();
    ToolkitSession(const ToolkitSession&) = delete;
    ToolkitSession& operator=(const ToolkitSession&) = delete;

    // False when the toolkit could not start (no display).
    bool started() const { return started_; }

private:
    bool started_ = false;
};

} // namespace vlh
