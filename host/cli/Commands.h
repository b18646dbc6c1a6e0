// The subcommands of `vellicor`; each takes its own arguments (after the
// subcommand's name) and returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace vhost::cli {

int RunCommand(const std::vector<std::string>& args);
int SheetCommand(const std::vector<std::string>& args);
int ListCommand(const std::vector<std::string>& args);
int InspectCommand(const std::vector<std::string>& args);
int AboutCommand(const std::vector<std::string>& args);
int ManualCommand(const std::vector<std::string>& args);

} // namespace vhost::cli
