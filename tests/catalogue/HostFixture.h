// A real host (vhost) answering the module's suites in this process: the
// suites are acquired into vlh::gHost through the host's basic suite, and at
// the end every suite is released and the host's books must show nothing
// alive and no violation.
#pragma once

#include <gtest/gtest.h>

#include "host/core/Host.h"
#include "plugin/HostSuites.h"

namespace vlh::test {

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gHost = HostSuites{};
        gHost.basic = host.BasicSuite();
        ASSERT_TRUE(AcquireHostSuites());
    }

    void TearDown() override {
        ReleaseHostSuites();
        gHost = HostSuites{};
        EXPECT_TRUE(host.Clean()) << host.Report();
    }

    vhost::Host host;
};

} // namespace vlh::test
