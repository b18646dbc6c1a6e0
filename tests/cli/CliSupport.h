// What the command-line tests share: the built `vellicor` run as a user runs
// it, a folder of their own, and test images cut from the test chart.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <vips/vips8>

#include "tests/support/ProgramRun.h"

namespace vhost::cli::test {

using e2e::Finished;

// A temporary folder, removed with everything in it.
class Folder {
public:
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }
    // The names in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path path_;
};

// Runs the built `vellicor` with args (the subcommand first); standard output
// and error go through files in `scratch`.
Finished Vellicor(const std::vector<std::string>& args, const Folder& scratch);

// A piece of the test chart (edges, text, skin, sky) at depth 8 or 16, RGB,
// with a varied alpha band when asked, the built-in sRGB profile and 240 ppi.
vips::VImage TestPicture(int depth, bool alpha, int width = 200, int height = 150);

// The built-in sRGB profile's bytes.
std::string SrgbProfile();
// The ICC profile a file holds, empty without one.
std::string ProfileOf(const vips::VImage& image);

std::string ReadBytes(const std::string& path);
bool Contains(const std::string& text, const std::string& part);
std::vector<std::string> Lines(const std::string& text);

// Pixels as doubles, interleaved.
std::vector<double> Values(const vips::VImage& image);

} // namespace vhost::cli::test
