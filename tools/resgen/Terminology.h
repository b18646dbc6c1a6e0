// The scripting terminology ("AETE") of one plug-in, in the Windows form:
// a reserved word 1 first, little-endian, counted strings, nothing aligned.
// One suite with one event, whose two text parameters carry the Set and the
// Effect of a run.
#pragma once

#include "tools/resgen/ModuleData.h"

#include <cstdint>
#include <vector>

namespace vtools {

std::vector<uint8_t> BuildTerminology(const ModuleData& module, const PluginData& plugin);

} // namespace vtools
