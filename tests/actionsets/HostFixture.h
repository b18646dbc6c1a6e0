// A real host (vhost) answering the module's suites for one test: the suites
// are acquired into vlh::gHost through the host's basic suite, the call log
// is on, and at the end every suite is released and the host's books must
// show nothing alive and no violation.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/core/Host.h"
#include "plugin/HostSuites.h"
#include "tests/actionsets/TestStreams.h"

namespace vlh::test {

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gHost = HostSuites{};
        gHost.basic = host.BasicSuite();
        ASSERT_TRUE(AcquireHostSuites());
        host.Calls().Enable(true);
        host.Calls().Clear(); // counts and planned faults start from here
    }

    void TearDown() override {
        ReleaseHostSuites();
        gHost = HostSuites{};
        EXPECT_TRUE(host.Clean()) << host.Report();
    }

    // Every host call since SetUp, as the call log writes it.
    std::vector<std::string> Calls() { return host.Calls().Lines(); }
    // Calls of routines whose name starts with prefix.
    std::vector<std::string> Calls(const std::string& prefix) {
        std::vector<std::string> lines;
        for (const std::string& line : host.Calls().Lines()) {
            if (line.rfind(prefix, 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    // Loads the Set of model; the test fails when it does not load.
    std::unique_ptr<ActionSet> Load(const vtools::SetModel& model) {
        Loaded loaded = LoadModel(model);
        EXPECT_TRUE(loaded.ok) << loaded.diagnostics.what;
        return std::move(loaded.set);
    }

    vhost::Host host;
};

} // namespace vlh::test
