// A real host answering the module's suites in this process (see
// tests/support/InProcessHost.h), with the readers of its call log and the
// loading of a written Set that the action-set tests share.
#pragma once

#include <string>
#include <vector>

#include "tests/actionsets/TestStreams.h"
#include "tests/support/InProcessHost.h"

namespace vlh::test {

class HostFixture : public vhost::test::InProcessHostTest {
protected:
    // Every host call since SetUp, as the call log writes it.
    std::vector<std::string> Calls() { return host.Calls().Lines(); }
    // Calls of routines whose name starts with prefix.
    std::vector<std::string> Calls(const std::string& prefix) { return CallsOf(prefix); }

    // Loads the Set of model; the test fails when it does not load.
    std::unique_ptr<ActionSet> Load(const vtools::SetModel& model) {
        Loaded loaded = LoadModel(model);
        EXPECT_TRUE(loaded.ok) << loaded.diagnostics.what;
        return std::move(loaded.set);
    }
};

} // namespace vlh::test
