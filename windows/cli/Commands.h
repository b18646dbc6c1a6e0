// The subcommands of the Windows `vellicor`; each takes its own arguments
// (after the subcommand's name) and returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace vhost::win {

int ListCommand(const std::vector<std::string>& args);
int RunCommand(const std::vector<std::string>& args);
int AboutCommand(const std::vector<std::string>& args);

} // namespace vhost::win
