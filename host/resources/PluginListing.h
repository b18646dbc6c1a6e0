// A readable listing of the plug-ins a module registers: for each, its menu
// name, category, interface version, entry point, modes, enable expression
// and scripting terminology.
#pragma once

#include "host/resources/PluginDescription.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace vhost {

// Writes the lines that list one plug-in's Sets and Effects, indented by two
// blanks; called after the plug-in's other lines.
using SetsAndEffectsWriter = std::function<void(const PluginDescription&, std::ostream&)>;

void WritePluginListing(const std::string& moduleName, const std::vector<PluginDescription>& plugins,
                        std::ostream& out, const SetsAndEffectsWriter& setsAndEffects = {});

} // namespace vhost
