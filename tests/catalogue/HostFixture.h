// The catalogue's tests run the module's code against a real host in this
// process; see tests/support/InProcessHost.h.
#pragma once

#include "tests/support/InProcessHost.h"

namespace vlh::test {

using HostFixture = vhost::test::InProcessHostTest;

} // namespace vlh::test
