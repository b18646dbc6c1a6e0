// A command run by a test: the host's own `vellicor` in a process of its own,
// with its environment changed, its output kept in files.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vlh::dialogs {

class ChildProcess {
public:
    // name and value to set, or name and std::nullopt to remove.
    using EnvironmentChange = std::pair<std::string, std::optional<std::string>>;

    // Starts argv with the test's environment changed as given; standard
    // output and error go to files in folder.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<EnvironmentChange>& environment,
                 const std::string& folder);
    // Kills the command if it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // Waits for the command to end, calling tick every 25 ms meanwhile; its
    // exit status, or std::nullopt when it did not end in time (or died of a
    // signal).
    std::optional<int> Wait(std::chrono::milliseconds timeout, const std::function<void()>& tick = {});
    std::string Output() const;
    std::string Errors() const;

private:
    pid_t pid_ = -1;
    std::string out_;
    std::string err_;
};

} // namespace vlh::dialogs
