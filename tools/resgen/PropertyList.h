// The plug-in property list ("PIPL") of one plug-in, in the Windows form:
// little-endian, codes as 32-bit values, each property's data zero-padded to a
// multiple of 4 with the padding counted in its length.
#pragma once

#include "tools/resgen/ModuleData.h"

#include <cstdint>
#include <vector>

namespace vtools {

// Which code property names the entry point: a 32-bit Windows host reads
// 'wx86', a 64-bit one '8664'. The Linux module carries 'wx86' alone.
enum class EntryPointProperty { X86, X64, Both };

std::vector<uint8_t> BuildPropertyList(const ModuleData& module, const PluginData& plugin,
                                       EntryPointProperty entryPoint);

} // namespace vtools
