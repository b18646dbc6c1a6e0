// The version record in the Windows VS_VERSIONINFO layout: a tree of blocks,
// each a 16-bit length, a 16-bit value length, a 16-bit type (0 binary, 1
// text), a UTF-16 key, padding to 4, the value and the children, each child
// starting on a multiple of 4. The same bytes serve a Windows build.
#pragma once

#include "tools/resgen/ModuleData.h"

#include <cstdint>
#include <vector>

namespace vtools {

std::vector<uint8_t> BuildVersionRecord(const VersionData& version);

} // namespace vtools
