// The directory of a module's stored-Set section (layout in
// resources/StoredSetSection.h): which plug-ins the module has and where each
// of their stored Sets lies, read from the section's bytes with every field
// checked against the section.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vhost {

struct StoredSetEntry {
    uint16_t plugin = 0;            // index into StoredSetDirectory::plugins
    uint16_t order = 0;             // place among the plug-in's stored Sets
    std::span<const uint8_t> bytes; // inside the section
};

struct StoredSetDirectory {
    std::vector<std::string> plugins; // catalogue names, in catalogue order
    std::vector<StoredSetEntry> sets; // as the directory lists them
};

// Reads the directory of a section. Throws ResourceError naming the fault: a
// wrong magic or layout version, a count or entry that runs past the section,
// a name or stored Set that starts inside the directory or ends past the
// section, a plug-in index that names no plug-in, an order given twice or
// with a gap.
StoredSetDirectory ParseStoredSetDirectory(std::span<const uint8_t> section);

// The stored Sets of one plug-in, in load order.
std::vector<StoredSetEntry> SetsOfPlugin(const StoredSetDirectory& directory, size_t plugin);

} // namespace vhost
