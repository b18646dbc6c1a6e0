// The directory at the start of a module's resource section, and the
// resources it points to. Layout, little-endian:
//
//   offset 0   "VLHR"                   magic
//          4   uint16 1                 layout version
//          6   uint16 N                 entries
//          8   N entries of 16 bytes:   char[4] type ("PIPL", "AETE", "VERS", as text)
//                                       uint16 ID, uint16 language,
//                                       uint32 offset (from the section start), uint32 size
//   then the resources' bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vhost {

// The section's name in an ELF module.
inline constexpr char kResourceSectionName[] = ".vlh_resources";

struct ResourceEntry {
    std::string type; // four characters
    uint16_t id = 0;
    uint16_t language = 0;
    std::span<const uint8_t> bytes; // inside the section
};

// The entries of a section, each checked to lie within it after the
// directory; duplicates of (type, ID, language) are refused. Throws
// ResourceError naming what is wrong.
std::vector<ResourceEntry> ParseResourceDirectory(std::span<const uint8_t> section);

// The first entry of that type and ID, or null.
const ResourceEntry* FindResource(const std::vector<ResourceEntry>& entries, std::string_view type,
                                  uint16_t id);

} // namespace vhost
