// Where the `vellicor` commands find the module when none is named.
#pragma once

#include <string>

namespace vhost::cli {

constexpr const char* kModuleFile = "Honer.8li";

// The module beside the running command (an installed layout), else the one
// built with it; empty when there is neither.
std::string DefaultModulePath();

} // namespace vhost::cli
