// A fresh, empty per-user configuration folder for the length of one test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class ScratchHome {
public:
    ScratchHome() {
        char pattern[] = "/tmp/vlh-home-XXXXXX";
        path_ = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    }
    ~ScratchHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path hive() const { return path_ / "vellicor-registry" / "HKEY_CURRENT_USER"; }

private:
    std::filesystem::path path_;
};
