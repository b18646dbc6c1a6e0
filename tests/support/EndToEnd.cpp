#include "tests/support/EndToEnd.h"

#include "host/loader/ResourceRegistration.h"

#include <stdexcept>

namespace vhost::e2e {

std::string HonerPath() {
#ifdef VLH_HONER_PATH
    return VLH_HONER_PATH;
#else
    return {};
#endif
}

std::vector<PluginRecord*> RegisterHoner(Host& host, std::string& error) {
    const std::string path = HonerPath();
    if (path.empty()) {
        error = "this build has no module";
        return {};
    }
    return RegisterModuleFromResources(host, path, error);
}

Document SmallRgbDocument() {
    Document doc;
    doc.mode = ColourMode::RGB;
    doc.depth = 8;
    doc.width = 64;
    doc.height = 48;
    doc.resolution = 72;
    return doc;
}

void EndToEndTest::SetUp() {
    ASSERT_FALSE(configHome.empty()) << "no temporary settings folder";
    const std::string path = HonerPath();
    ASSERT_FALSE(path.empty()) << "this build has no module";
    std::string error;
    module = host.LoadModule(path, error);
    ASSERT_NE(nullptr, module) << error;
    host.OpenDocument(SmallRgbDocument());
}

void EndToEndTest::TearDown() {
    if (!host.Clean()) {
        ADD_FAILURE() << "the host is not clean after the test:\n" << host.Report();
    }
}

PluginRecord& EndToEndTest::Plugin(const std::string& name) {
    if (registered_.empty()) {
        std::string error;
        for (PluginRecord* record : RegisterHoner(host, error)) {
            registered_[record->name] = record;
        }
        if (registered_.empty()) {
            throw std::runtime_error("the module's plug-ins cannot be registered: " + error);
        }
    }
    auto found = registered_.find(name);
    if (found == registered_.end()) {
        throw std::runtime_error("the module registers no plug-in \"" + name + "\"");
    }
    return *found->second;
}

DoItResult EndToEndTest::DoIt(const std::string& name, const DoItRequest& request) {
    return host.DoIt(Plugin(name), request);
}

} // namespace vhost::e2e
