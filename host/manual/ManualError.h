// The one failure of the manual's generator: what went wrong, in words a
// person can act on ("the module offers no Sets", "cannot write FILE").
#pragma once

#include <stdexcept>

namespace vhost::manual {

struct ManualError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace vhost::manual
