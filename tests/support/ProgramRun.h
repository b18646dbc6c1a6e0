// A program run to its end as a user runs it from a shell, for the tests of
// the `vellicor` command: what it printed and how it exited.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vhost::e2e {

struct Finished {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs words[0] with words as its arguments and the test's environment; its
// standard output and error go through files in scratch, removed afterwards.
// Throws std::runtime_error when the program cannot be started.
Finished RunProgram(std::vector<std::string> words, const std::filesystem::path& scratch);

} // namespace vhost::e2e
