// The fixture of the end-to-end tests under wine: the real host (vhost, built
// for Windows) with its main window, the real module registered from its PE
// resources, an empty 8-bit RGB document, no stored parameters in the
// registry at the start, and a TearDown that fails the test when any object,
// block or suite is left alive or any violation was recorded.
#pragma once

#include "host/core/Host.h"
#include "windows/host/MainWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vhost::wintest {

// Where the plug-ins keep their stored parameters, below HKEY_CURRENT_USER.
constexpr const char* kMakerKey = "Software\\CorvaneLabs";
std::string ParametersKey(const std::string& pluginName); // "Software\CorvaneLabs\<name>\Parameters"

// A Set and one of its Effects, as one plug-in's catalogue ships them.
struct Choice {
    std::string menuName; // "Vellicor Output Honer..."
    std::string set;
    std::string effect;
};
// One choice per plug-in, in catalogue order.
const std::vector<Choice>& ShippedChoices();

// A request's parameters: Set and Effect as the scripting parameters.
DoItRequest ReplayRequest(const std::string& set, const std::string& effect,
                          PIDialogPlayOptions play = plugInDialogDontDisplay);

class WindowsHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The module this test loads; the built one unless a test says otherwise
    // before SetUp.
    std::string modulePath;

    // The registered plug-in of that menu name; fails the test when there is none.
    PluginRecord& Plugin(const std::string& menuName);
    DoItResult DoIt(const std::string& menuName, const DoItRequest& request);

    Host host;
    std::unique_ptr<win::MainWindow> window;
    std::vector<PluginRecord*> plugins;
};

} // namespace vhost::wintest
