#include "fuzz/FuzzHost.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "hostapi/HostSuites.h"

namespace vlh::fuzz {

namespace {

// A free the host was told to refuse leaves that one object (or suite) alive:
// the module has no second way to give it back.
bool IsRefusedFree(const std::string& fired) {
    static const std::set<std::string> freeing = {"Descriptor.Free", "Reference.Free",     "List.Free",
                                                  "ZString.Release", "Basic.ReleaseSuite", "Basic.FreeBlock"};
    return freeing.count(fired.substr(0, fired.find(" #"))) != 0;
}

// The books after an input: clean, or with exactly what a refused free left.
bool BooksAreSound(vhost::Host& host) {
    if (host.Clean()) {
        return true;
    }
    const vhost::Accounting& books = host.Books();
    const std::vector<std::string>& fired = host.FaultPlan().Fired();
    const bool oneRefusedFree = fired.size() == 1 && IsRefusedFree(fired[0]);
    return oneRefusedFree && books.Violations().empty() &&
           books.LiveCount() + books.UnreleasedSuites().size() == 1;
}

} // namespace

FuzzHost::FuzzHost() {
    gHost = HostSuites{};
    gHost.basic = host_.BasicSuite();
    Require(AcquireHostSuites(), "the host's suites can be acquired");
    host_.Calls().Clear();
}

FuzzHost::~FuzzHost() {
    ReleaseHostSuites();
    gHost = HostSuites{};
    if (!BooksAreSound(host_)) {
        std::fprintf(stderr, "the host is not clean after the input:\n%s\n", host_.Report().c_str());
        for (const std::string& fault : host_.FaultPlan().Fired()) {
            std::fprintf(stderr, "planned fault fired: %s\n", fault.c_str());
        }
        std::abort();
    }
}

} // namespace vlh::fuzz
