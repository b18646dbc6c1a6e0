// What every subcommand of the Windows `vellicor` starts with: a host, the
// module registered from its PE resources, and the plug-in asked for.
#pragma once

#include "host/core/Host.h"

#include <optional>
#include <string>
#include <vector>

namespace vhost::win {

// The module's default place: Honer.8li beside this program.
std::string DefaultModulePath();

// The registered plug-in named by its menu name, with or without the trailing
// "..."; the first plug-in when name is empty; null when none matches.
PluginRecord* FindPlugin(const std::vector<PluginRecord*>& plugins, const std::string& name);

// "Vellicor Output Honer..." and the others, one per line, for a complaint.
std::string PluginNames(const std::vector<PluginRecord*>& plugins);

} // namespace vhost::win
