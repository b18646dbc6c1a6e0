// The in-process host of the fuzz targets that reach the host: one Host per
// input, its suites acquired into vlh::gHost the way the module acquires
// them, and released at the end, after which the host's books must show
// nothing alive, nothing held and no violation.
#pragma once

#include "fuzz/FuzzCheck.h"
#include "host/core/Host.h"

namespace vlh::fuzz {

class FuzzHost {
public:
    // Acquires the suites (aborting when that fails) and starts the host's
    // call counts and fault plan from zero.
    FuzzHost();
    // Releases the suites and aborts, with the host's report, unless its
    // books are clean; after a planned fault in a free or release, exactly
    // the one object or suite not given back may remain.
    ~FuzzHost();
    FuzzHost(const FuzzHost&) = delete;
    FuzzHost& operator=(const FuzzHost&) = delete;

    vhost::Host& host() noexcept { return host_; }

private:
    vhost::Host host_;
};

} // namespace vlh::fuzz
