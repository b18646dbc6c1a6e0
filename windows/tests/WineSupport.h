// What the tests under wine share: the build's paths in the system's form,
// files, scratch folders, other programs, and the registry.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vhost::wintest {

// A path the build handed over in its POSIX form, as the system names it:
// wine shows the POSIX root as drive Z:, so "/a/b" is "Z:\a\b". Other paths
// only get backslashes.
std::string SystemPath(const std::string& buildPath);

// The built module (Honer.8li), in the system's form.
std::string HonerPath();

// A file's bytes; throws std::runtime_error when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes. name may hold blanks.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // With a trailing backslash.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Runs a program to its end (or until the timeout, when it is stopped) and
// returns its exit code and what it wrote to standard output and error.
struct ProgramResult {
    DWORD exitCode = 0;
    bool timedOut = false;
    std::string output; // CR LF line ends turned into LF
};
ProgramResult RunProgram(const std::string& commandLine,
                         std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Removes a key and everything below it; nothing when it does not exist.
void DeleteKeyTree(HKEY root, const std::string& path);

// A value's type and bytes; none when the key or value does not exist.
struct RegistryValue {
    DWORD type = 0;
    std::vector<uint8_t> bytes;
};
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& path, const std::string& name);

// Sets the key's default value (creating the key) to a text.
void WriteDefaultText(HKEY root, const std::string& path, const std::string& text);

} // namespace vhost::wintest
