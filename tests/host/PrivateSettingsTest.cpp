// The private settings folder the sheet and the manual run the module under:
// the user's own settings are out of reach while it lives and exactly as they
// were afterwards, and nothing written meanwhile is left on disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "host/core/PrivateSettings.h"

namespace vhost {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ConfigHome() {
    const char* value = std::getenv("XDG_CONFIG_HOME");
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Puts $XDG_CONFIG_HOME back as the test found it.
class PrivateSettingsTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (saved_) {
            setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

private:
    std::optional<std::string> saved_ = ConfigHome();
};

TEST_F(PrivateSettingsTest, AFreshFolderStandsInAndEverythingInItIsRemovedAfterwards) {
    setenv("XDG_CONFIG_HOME", "/home/someone/.config", 1);
    fs::path folder;
    {
        const PrivateSettings settings("vellicor-test");
        ASSERT_TRUE(settings.Ok());
        ASSERT_TRUE(ConfigHome());
        folder = *ConfigHome();
        EXPECT_NE("/home/someone/.config", folder.string());
        EXPECT_EQ(fs::path(PrivateSettings::Parent()), folder.parent_path());
        EXPECT_EQ(0u, folder.filename().string().rfind("vellicor-test-", 0)) << folder;
        ASSERT_TRUE(fs::is_directory(folder));
        EXPECT_TRUE(fs::is_empty(folder));
        // What a run remembers lands in a folder of its own below.
        fs::create_directories(folder / "Vellicor");
        std::ofstream(folder / "Vellicor" / "settings.ini") << "remembered\n";
    }
    EXPECT_EQ(std::optional<std::string>("/home/someone/.config"), ConfigHome());
    EXPECT_FALSE(fs::exists(folder));
}

} // namespace
} // namespace vhost
