#include "windows/tests/WindowsHostFixture.h"

#include "host/loader/ResourceRegistration.h"
#include "hostapi/FourCharCode.h"
#include "windows/tests/WineSupport.h"

#include <stdexcept>

namespace vhost::wintest {

std::string ParametersKey(const std::string& pluginName) {
    return std::string(kMakerKey) + "\\" + pluginName + "\\Parameters";
}

const std::vector<Choice>& ShippedChoices() {
    static const std::vector<Choice> choices = {
        {"Vellicor Capture Honer...", "Smartphone and Compact Honers", "Smartphone JPEG, Daylight"},
        {"Vellicor Creative Honer...", "Local Contrast Honers", "Moderate Local Contrast"},
        {"Vellicor Output Honer...", "Inkjet Output Honers", "Glossy and Lustre Paper, 300 ppi"},
        {"Vellicor Capture Honer Expert...", "Digital Camera Honers", "Under 8 MP, Narrow Edges"},
    };
    return choices;
}

DoItRequest ReplayRequest(const std::string& set, const std::string& effect, PIDialogPlayOptions play) {
    DoItRequest request;
    request.playInfo = play;
    request.descriptor = Descriptor();
    request.descriptor->Put(vlh::FourCC("VlSt"), Value::String(set));
    request.descriptor->Put(vlh::FourCC("VlAc"), Value::String(effect));
    return request;
}

void WindowsHostTest::SetUp() {
    DeleteKeyTree(HKEY_CURRENT_USER, kMakerKey);
    if (modulePath.empty()) {
        modulePath = HonerPath();
    }
    std::string error;
    plugins = RegisterModuleFromResources(host, modulePath, error);
    ASSERT_EQ(4u, plugins.size()) << error;
    window = std::make_unique<win::MainWindow>(host);
    Document document;
    document.mode = ColourMode::RGB;
    document.depth = 8;
    document.width = 64;
    document.height = 48;
    host.OpenDocument(document);
}

void WindowsHostTest::TearDown() {
    EXPECT_TRUE(host.Clean()) << host.Report();
    if (window) {
        EXPECT_TRUE(window->Alive()) << "the host's main window is gone";
        EXPECT_TRUE(IsWindowEnabled(window->Handle())) << "the host's main window was left disabled";
    }
}

PluginRecord& WindowsHostTest::Plugin(const std::string& menuName) {
    for (PluginRecord* p : plugins) {
        if (p->name == menuName) {
            return *p;
        }
    }
    throw std::runtime_error("the module registers no plug-in \"" + menuName + "\"");
}

DoItResult WindowsHostTest::DoIt(const std::string& menuName, const DoItRequest& request) {
    return host.DoIt(Plugin(menuName), request);
}

} // namespace vhost::wintest
