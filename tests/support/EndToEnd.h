// The fixture of every end-to-end test: a Host with the real module
// (Honer.8li) loaded, a private per-user settings folder, and a TearDown that
// fails the test when any object, block or suite is left alive or any
// violation was recorded.
//
//   class MyTest : public vhost::e2e::EndToEndTest {};
//   TEST_F(MyTest, Runs) {
//       host.OpenDocument();
//       DoItResult r = DoIt("Vellicor Capture Honer...");
//       EXPECT_EQ(0, r.result);
//   }
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/core/Host.h"

namespace vhost::e2e {

// The built module's path; empty when the build has no module.
std::string HonerPath();

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest();
    ~EndToEndTest() override;

    // Loads the module (the test fails at once when it cannot).
    void SetUp() override;
    // Fails the test with the host's report unless it is clean.
    void TearDown() override;

    // The plug-in of that menu name, registered on first use.
    PluginRecord& Plugin(const std::string& name);
    // Sends a "Do It" request to the named plug-in.
    DoItResult DoIt(const std::string& name, const DoItRequest& request = {});

    Host host;
    const Module* module = nullptr;
    std::string configHome; // $XDG_CONFIG_HOME for this test, removed afterwards
};

} // namespace vhost::e2e
