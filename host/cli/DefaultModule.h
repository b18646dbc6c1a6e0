// Where the `vellicor` commands find the module when none is named.
#pragma once

#include <string>

namespace vhost::cli {

constexpr const char* kModuleFile = "Honer.8li";

// The module beside the running command, else the one in the installed
// layout's plug-ins folder, else the one built with it; empty when there is
// none of them.
std::string DefaultModulePath();

} // namespace vhost::cli
