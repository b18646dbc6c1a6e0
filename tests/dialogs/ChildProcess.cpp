#include "tests/dialogs/ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace vlh::dialogs {

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> ChangedEnvironment(const std::vector<ChildProcess::EnvironmentChange>& changes) {
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool changed = false;
        for (const auto& change : changes) {
            changed = changed || change.first == name;
        }
        if (!changed) {
            entries.push_back(entry);
        }
    }
    for (const auto& [name, value] : changes) {
        if (value) {
            entries.push_back(name + "=" + *value);
        }
    }
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<EnvironmentChange>& environment, const std::string& folder)
    : out_(folder + "/child-output.txt"), err_(folder + "/child-errors.txt") {
    std::vector<std::string> arguments = argv;
    std::vector<std::string> entries = ChangedEnvironment(environment);
    std::vector<char*> argvPointers = Pointers(arguments);
    std::vector<char*> environmentPointers = Pointers(entries);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    if (posix_spawn(&pid_, argvPointers[0], &actions, nullptr, argvPointers.data(),
                    environmentPointers.data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout, const std::function<void()>& tick) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (pid_ > 0) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        if (tick) {
            tick();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return std::nullopt;
}

std::string ChildProcess::Output() const {
    return ReadAll(out_);
}

std::string ChildProcess::Errors() const {
    return ReadAll(err_);
}

} // namespace vlh::dialogs
