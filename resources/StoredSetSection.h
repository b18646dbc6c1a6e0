// The section of a module file that holds its stored Sets, so that a host can
// list the Sets and Effects of every plug-in from the file without running
// the module. The module itself reaches the same bytes through the arrays of
// StoredSets.h. Everything is little-endian:
//
//   offset 0    "VLHS"                       magic
//          4    uint16 1                     layout version
//          6    uint16 P                     plug-ins, in catalogue order
//          8    uint16 N                     stored Sets
//         10    uint16 0                     reserved
//         12    P plug-in entries of 8 bytes: uint32 name offset, uint32 name size
//                                             (the catalogue name, no terminating NUL)
//     12 + 8P   N Set entries of 12 bytes:   uint16 plug-in index, uint16 order (the Set's
//                                             place among its plug-in's stored Sets),
//                                             uint32 offset, uint32 size
//   then the plug-in names, then the stored Sets back to back, in catalogue order.
// Offsets count from the start of the section.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vlh {

inline constexpr char kStoredSetSectionName[] = ".vlh_sets";
inline constexpr char kStoredSetSectionMagic[4] = {'V', 'L', 'H', 'S'};
inline constexpr uint16_t kStoredSetSectionVersion = 1;
inline constexpr size_t kStoredSetHeaderSize = 12;
inline constexpr size_t kStoredSetPluginEntrySize = 8;
inline constexpr size_t kStoredSetEntrySize = 12;

} // namespace vlh
