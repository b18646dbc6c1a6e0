// A Host with every suite acquired the way a module acquires them, released
// again after each test; the test fails if anything is then left alive, any
// violation happened that the test did not expect, or a suite is still held.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "host/core/Dump.h"
#include "host/core/Host.h"
#include "hostapi/FourCharCode.h"
#include "hostapi/HostInterface.h"

namespace vhost::test {

using vlh::FourCC;

class SuiteFixture : public ::testing::Test {
protected:
    struct SuiteSlot {
        const char* name;
        int32_t version;
        const void** slot;
    };
    std::vector<SuiteSlot> Slots() {
        return {{kPSActionDescriptorSuite, 2, reinterpret_cast<const void**>(&d)},
                {kPSActionReferenceSuite, 2, reinterpret_cast<const void**>(&r)},
                {kPSActionListSuite, 1, reinterpret_cast<const void**>(&l)},
                {kPSActionControlSuite, 3, reinterpret_cast<const void**>(&c)},
                {kASZStringSuite, 1, reinterpret_cast<const void**>(&z)},
                {kPSUIHooksSuite, 1, reinterpret_cast<const void**>(&ui)},
                {kPSGetFileListSuite, 4, reinterpret_cast<const void**>(&fl)},
                {kSPPluginsSuite, 4, reinterpret_cast<const void**>(&pl)}};
    }

    void SetUp() override {
        for (const SuiteSlot& s : Slots()) {
            ASSERT_EQ(0, host.BasicSuite()->AcquireSuite(s.name, s.version, s.slot)) << s.name;
            ASSERT_NE(nullptr, *s.slot);
        }
    }

    void TearDown() override {
        for (const SuiteSlot& s : Slots()) {
            EXPECT_EQ(0, host.BasicSuite()->ReleaseSuite(s.name, s.version)) << s.name;
        }
        if (expectedViolations_ != host.Books().Violations().size()) {
            ADD_FAILURE() << "violations: expected " << expectedViolations_ << "\n" << host.Report();
        } else if (host.Books().LiveCount() != 0 || !host.Books().UnreleasedSuites().empty()) {
            ADD_FAILURE() << "left alive:\n" << host.Report();
        }
    }

    // The test caused n violations on purpose (checked at the end).
    void ExpectViolations(size_t n) { expectedViolations_ = n; }

    PIActionDescriptor NewDescriptor() {
        PIActionDescriptor out = nullptr;
        EXPECT_EQ(0, d->Make(&out));
        return out;
    }
    PIActionReference NewReference() {
        PIActionReference out = nullptr;
        EXPECT_EQ(0, r->Make(&out));
        return out;
    }
    PIActionList NewList() {
        PIActionList out = nullptr;
        EXPECT_EQ(0, l->Make(&out));
        return out;
    }
    // The host's object behind a handle this test made.
    const Descriptor& Desc(PIActionDescriptor h) { return *host.Books().FindDescriptor(h, "test"); }

public:
    Host host;
    const PSActionDescriptorProcs* d = nullptr;
    const PSActionReferenceProcs* r = nullptr;
    const PSActionListProcs* l = nullptr;
    const PSActionControlProcs* c = nullptr;
    const ASZStringSuite* z = nullptr;
    const PSUIHooksSuite1* ui = nullptr;
    const PSGetFileListSuite4* fl = nullptr;
    const SPPluginsSuite4* pl = nullptr;

private:
    size_t expectedViolations_ = 0;
};

} // namespace vhost::test
