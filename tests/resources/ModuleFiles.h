// The built module and ways to get at its file in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vlhtest {

// Path of the built Honer.8li.
std::string ModulePath();

// Runs a shell command and returns its standard output; fails the calling
// test (through an exception) when the command fails.
std::string RunCommand(const std::string& command);


// A fresh temporary directory, removed with its contents on destruction.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    ~TemporaryDirectory();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace vlhtest
