// The fixture of every end-to-end test: a Host with the real module
// (Honer.8li), a private per-user settings folder, an empty 8-bit RGB
// document, and a TearDown that fails the test when any object, block or
// suite is left alive or any violation was recorded.
//
// The plug-ins are registered from the module's resources, as the real host
// registers them, so a request is refused without calling the module when
// the plug-in's enable expression does not accept the active document (RGB
// of 8 or 16 bits; no document counts as refused).
//
//   class MyTest : public vhost::e2e::EndToEndTest {};
//   TEST_F(MyTest, Runs) {
//       DoItResult r = DoIt("Vellicor Capture Honer...");
//       EXPECT_EQ(0, r.result);
//   }
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/core/Host.h"
#include "host/core/PrivateSettings.h"

namespace vhost::e2e {

// The built module's path; empty when the build has no module.
std::string HonerPath();

// A private $XDG_CONFIG_HOME (where the module remembers each user's
// choices) for as long as it lives.
class PrivateSettingsFolder : public PrivateSettings {
public:
    PrivateSettingsFolder() : PrivateSettings("vellicor-e2e") {}
};

// Registers the module's plug-ins in host from its resources; the records in
// resource order, or an empty list with why in error.
std::vector<PluginRecord*> RegisterHoner(Host& host, std::string& error);

// The empty document SetUp opens: 8-bit RGB, 64 x 48 pixels at 72 ppi.
Document SmallRgbDocument();

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest() = default;
    ~EndToEndTest() override = default;

    // Checks the module loads and opens SmallRgbDocument() (the test fails
    // at once when the module cannot be loaded).
    void SetUp() override;
    // Fails the test with the host's report unless it is clean.
    void TearDown() override;

    // The plug-in of that menu name ("Vellicor Capture Honer..."), registered
    // from the module's resources with the module's other plug-ins on first
    // use. Throws std::runtime_error (failing the test) for a name the module
    // does not register.
    PluginRecord& Plugin(const std::string& name);
    // Sends a "Do It" request to the named plug-in.
    DoItResult DoIt(const std::string& name, const DoItRequest& request = {});

    PrivateSettingsFolder settingsFolder;
    const std::string configHome = settingsFolder.Path(); // $XDG_CONFIG_HOME for this test
    Host host;
    const Module* module = nullptr;

private:
    std::map<std::string, PluginRecord*> registered_;
};

} // namespace vhost::e2e
