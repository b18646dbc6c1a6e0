// Why a module's resources were refused: a message fit to show the user.
#pragma once

#include <stdexcept>

namespace vhost {

class ResourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vhost
