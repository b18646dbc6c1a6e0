#include "tests/support/EndToEnd.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vhost::e2e {

std::string HonerPath() {
#ifdef VLH_HONER_PATH
    return VLH_HONER_PATH;
#else
    return {};
#endif
}

EndToEndTest::EndToEndTest() {
    // The module remembers choices per user; each test gets its own folder.
    std::string pattern = (std::filesystem::temp_directory_path() / "vellicor-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        configHome = pattern;
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    }
}

EndToEndTest::~EndToEndTest() {
    if (!configHome.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(configHome, ignored);
    }
}

void EndToEndTest::SetUp() {
    ASSERT_FALSE(configHome.empty()) << "no temporary settings folder";
    const std::string path = HonerPath();
    ASSERT_FALSE(path.empty()) << "this build has no module";
    std::string error;
    module = host.LoadModule(path, error);
    ASSERT_NE(nullptr, module) << error;
}

void EndToEndTest::TearDown() {
    if (!host.Clean()) {
        ADD_FAILURE() << "the host is not clean after the test:\n" << host.Report();
    }
}

PluginRecord& EndToEndTest::Plugin(const std::string& name) {
    if (PluginRecord* p = host.FindPlugin(name)) {
        return *p;
    }
    return host.RegisterPlugin(*module, name);
}

DoItResult EndToEndTest::DoIt(const std::string& name, const DoItRequest& request) {
    return host.DoIt(Plugin(name), request);
}

} // namespace vhost::e2e
