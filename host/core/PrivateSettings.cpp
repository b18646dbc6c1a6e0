#include "host/core/PrivateSettings.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vhost {

namespace fs = std::filesystem;

PrivateSettings::PrivateSettings(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    path_ = pattern;
    if (const char* previous = std::getenv("XDG_CONFIG_HOME")) {
        previous_ = previous;
    }
    setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
}

PrivateSettings::~PrivateSettings() {
    if (path_.empty()) {
        return;
    }
    if (previous_) {
        setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string PrivateSettings::Parent() {
    return fs::temp_directory_path().string();
}

} // namespace vhost
