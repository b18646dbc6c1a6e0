// The module's resource section on ELF platforms. Everything is little-endian:
//
//   offset 0   "VLHR"                   magic
//          4   uint16 1                 layout version
//          6   uint16 N                 directory entries
//          8   N entries of 16 bytes:   char[4] type ("PIPL", "AETE", "VERS", as text)
//                                       uint16 ID, uint16 language,
//                                       uint32 offset (from the section start),
//                                       uint32 size
//   then the resources' bytes, each starting on a multiple of 4, zero padding between.
#pragma once

#include "tools/resgen/ModuleResources.h"

#include <cstdint>
#include <vector>

namespace vtools {

inline constexpr char kSectionName[] = ".vlh_resources";

std::vector<uint8_t> BuildSectionImage(const std::vector<Resource>& resources);

} // namespace vtools
