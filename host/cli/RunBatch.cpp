#include "host/cli/RunBatch.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/cli/RunArguments.h"
#include "host/cli/RunImage.h"
#include "host/cli/RunProgress.h"

extern char** environ;

namespace vhost::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kErrorPrefix = "vellicor run: ";

struct Worker {
    size_t index = 0; // into the plan's targets
    int errorFile = -1;
};

std::string SelfPath() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

// The environment of a worker: as ours, with libvips' threads shared out
// among the workers unless the user chose a number.
std::vector<std::string> WorkerEnvironment(int jobs) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        env.emplace_back(*e);
    }
    if (std::getenv("VIPS_CONCURRENCY") == nullptr && jobs > 1) {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        env.push_back("VIPS_CONCURRENCY=" +
                      std::to_string(std::max(1u, cores / static_cast<unsigned>(jobs))));
    }
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& w : words) {
        pointers.push_back(w.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// A file for the worker's standard error, gone as soon as it is closed.
int AnonymousFile() {
    char name[] = "/tmp/vellicor-run-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) {
        unlink(name);
    }
    return fd;
}

std::string ReadAll(int fd) {
    std::string text;
    if (lseek(fd, 0, SEEK_SET) != 0) {
        return text;
    }
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

// What a worker said on standard error, without the command's prefix and
// the trailing newline.
std::string WorkerMessage(const std::string& text) {
    std::string message = text;
    while (!message.empty() && message.back() == '\n') {
        message.pop_back();
    }
    if (message.rfind(kErrorPrefix, 0) == 0) {
        message.erase(0, std::string(kErrorPrefix).size());
    }
    return message.empty() ? "the worker ended without saying why" : message;
}

class Batch {
public:
    Batch(const BatchPlan& plan, std::ostream& out) : plan_(plan), out_(out), self_(SelfPath()) {}

    // Runs targets [first, end) with the options; returns how many failed.
    size_t Run(size_t first, const std::vector<std::string>& options) {
        std::vector<std::string> env = WorkerEnvironment(plan_.jobs);
        std::vector<char*> envp = Pointers(env);
        ProgressBar bar(std::to_string(plan_.targets.size()) + " images");
        size_t next = first;
        while (next < plan_.targets.size() || !running_.empty()) {
            while (next < plan_.targets.size() && running_.size() < static_cast<size_t>(plan_.jobs)) {
                Start(next++, options, envp);
            }
            if (!running_.empty()) {
                WaitForOne();
            }
            bar.Show(static_cast<double>(done_) / static_cast<double>(plan_.targets.size()));
        }
        bar.Clear();
        return failed_;
    }

    void CountDone(bool ok) {
        ++done_;
        failed_ += ok ? 0 : 1;
    }

private:
    void Start(size_t index, const std::vector<std::string>& options, std::vector<char*>& envp) {
        const ImageTarget& target = plan_.targets[index];
        std::vector<std::string> words = {self_, "run"};
        words.insert(words.end(), options.begin(), options.end());
        words.insert(words.end(), {"--output", target.output, "--", target.input});
        std::vector<char*> argv = Pointers(words);
        Worker worker{index, AnonymousFile()};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        if (worker.errorFile >= 0) {
            posix_spawn_file_actions_adddup2(&actions, worker.errorFile, STDERR_FILENO);
        }
        pid_t pid = 0;
        const int spawned =
            self_.empty() ? ENOENT
                          : posix_spawn(&pid, self_.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            Report(worker, false, "cannot start a worker: " + std::string(std::strerror(spawned)));
            return;
        }
        running_[pid] = worker;
    }

    void WaitForOne() {
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        auto it = running_.find(pid);
        if (it == running_.end()) {
            return;
        }
        const Worker worker = it->second;
        running_.erase(it);
        const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::string message;
        if (!ok) {
            message = WIFSIGNALED(status)
                          ? "the worker was ended by signal " + std::to_string(WTERMSIG(status))
                          : WorkerMessage(worker.errorFile >= 0 ? ReadAll(worker.errorFile) : "");
        }
        Report(worker, ok, message);
    }

    void Report(const Worker& worker, bool ok, const std::string& message) {
        if (worker.errorFile >= 0) {
            close(worker.errorFile);
        }
        const ImageTarget& target = plan_.targets[worker.index];
        if (ok) {
            out_ << "written  " << target.input << " -> " << target.output << '\n';
        } else {
            out_ << "FAILED   " << target.input << ": " << message << '\n';
        }
        out_.flush();
        CountDone(ok);
    }

    const BatchPlan& plan_;
    std::ostream& out_;
    std::string self_;
    std::map<pid_t, Worker> running_;
    size_t done_ = 0;
    size_t failed_ = 0;
};

std::optional<std::string> MakeFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return "cannot make the folder \"" + folder + "\": " + error.message();
    }
    return std::nullopt;
}

} // namespace

int DefaultJobs() {
    return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
}

int RunBatch(const BatchPlan& plan, const RunSettings& settings, std::ostream& out) {
    if (auto why = MakeFolder(plan.folder)) {
        std::fprintf(stderr, "%s%s\n", kErrorPrefix, why->c_str());
        return 1;
    }
    Batch batch(plan, out);
    std::vector<std::string> options = plan.options;
    size_t first = 0;
    if (settings.request.playInfo == plugInDialogDisplay) {
        // Choose once, in the dialog over the first image; the others follow
        // that choice without a dialog.
        std::ostringstream ignored;
        const ImageOutcome chosen = RunOnImage(settings, plan.targets[0], plan.overwrite, ignored);
        out << (chosen.status == 0 ? "written  " : "FAILED   ") << plan.targets[0].input
            << (chosen.status == 0 ? " -> " + plan.targets[0].output : ": " + chosen.failure) << '\n';
        batch.CountDone(chosen.status == 0);
        if (chosen.status != 0 || !chosen.chosen) {
            const size_t others = plan.targets.size() - 1;
            out << (others == 1 ? std::string("the other image was")
                                : "the other " + std::to_string(others) + " images were")
                << " left alone\n";
            return 1;
        }
        options = WithoutOptions(options, {"dialog", "play", "set", "effect"}, SessionFlagNames());
        options.insert(options.end(), {"--set", chosen.chosen->set, "--effect", chosen.chosen->effect});
        first = 1;
    }
    const size_t failed = batch.Run(first, options);
    const size_t written = plan.targets.size() - failed;
    out << written << " of " << plan.targets.size() << " images written to " << plan.folder << '\n';
    return failed == 0 ? 0 : 1;
}

} // namespace vhost::cli
