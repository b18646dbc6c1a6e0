// A real host (vhost) answering the module's suites inside the test process:
// the module's own code, linked into the test, reaches the host through
// vlh::gHost exactly as it does inside Honer.8li. The suites are acquired
// through the host's basic suite in SetUp and released in TearDown, after
// which the host's books must show nothing alive and no violation.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/core/Host.h"
#include "hostapi/HostSuites.h"

namespace vhost::test {

class InProcessHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        vlh::gHost = vlh::HostSuites{};
        vlh::gHost.basic = host.BasicSuite();
        ASSERT_TRUE(vlh::AcquireHostSuites());
        host.Calls().Enable(true);
        host.Calls().Clear(); // call counts and planned faults start here
    }

    void TearDown() override {
        vlh::ReleaseHostSuites();
        vlh::gHost = vlh::HostSuites{};
        EXPECT_TRUE(host.Clean()) << host.Report();
    }

    // The calls of routines whose name starts with prefix, as the log writes them.
    std::vector<std::string> CallsOf(const std::string& prefix) {
        std::vector<std::string> lines;
        for (const std::string& line : host.Calls().Lines()) {
            if (line.rfind(prefix, 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    Host host;
};

} // namespace vhost::test
