#include "host/catalogue/StoredSetDirectory.h"

#include <algorithm>
#include <set>
#include <utility>

#include "host/resources/ByteReader.h"
#include "resources/StoredSetSection.h"

namespace vhost {

namespace {

// The bytes at offset, size long, which must lie after the directory and
// within the section.
std::span<const uint8_t> Region(ByteReader& in, std::span<const uint8_t> section, size_t directoryEnd,
                                uint32_t offset, uint32_t size, const std::string& what) {
    if (offset < directoryEnd) {
        in.Fail(what + " starts at " + std::to_string(offset) + ", inside the directory");
    }
    if (offset > section.size() || size > section.size() - offset) {
        in.Fail(what + " of " + std::to_string(size) + " bytes at " + std::to_string(offset) +
                " runs past the section's " + std::to_string(section.size()) + " bytes");
    }
    return section.subspan(offset, size);
}

void CheckOrders(ByteReader& in, const StoredSetDirectory& directory) {
    for (size_t p = 0; p < directory.plugins.size(); ++p) {
        std::set<uint16_t> orders;
        for (const StoredSetEntry& entry : directory.sets) {
            if (entry.plugin == p && !orders.insert(entry.order).second) {
                in.Fail("the plug-in " + directory.plugins[p] + " has two stored Sets in place " +
                        std::to_string(entry.order));
            }
        }
        if (!orders.empty() && *orders.rbegin() != orders.size() - 1) {
            in.Fail("the stored Sets of the plug-in " + directory.plugins[p] + " leave a gap before place " +
                    std::to_string(*orders.rbegin()));
        }
    }
}

} // namespace

StoredSetDirectory ParseStoredSetDirectory(std::span<const uint8_t> section) {
    ByteReader in(section, "stored-Set section");
    const std::span<const uint8_t> magic = in.Take(4, "magic");
    if (!std::equal(magic.begin(), magic.end(), std::begin(vlh::kStoredSetSectionMagic))) {
        in.Fail("does not start with the stored-Set directory's magic");
    }
    const uint16_t version = in.U16("layout version");
    if (version != vlh::kStoredSetSectionVersion) {
        in.Fail("directory layout " + std::to_string(version) + " is not known (expected " +
                std::to_string(vlh::kStoredSetSectionVersion) + ")");
    }
    const uint16_t pluginCount = in.U16("plug-in count");
    const uint16_t setCount = in.U16("stored-Set count");
    in.U16("reserved");
    const size_t directoryEnd = vlh::kStoredSetHeaderSize + pluginCount * vlh::kStoredSetPluginEntrySize +
                                setCount * vlh::kStoredSetEntrySize;
    if (directoryEnd > section.size()) {
        in.Fail("a directory of " + std::to_string(pluginCount) + " plug-ins and " +
                std::to_string(setCount) + " stored Sets needs " + std::to_string(directoryEnd) +
                " bytes, the section has " + std::to_string(section.size()));
    }

    StoredSetDirectory directory;
    for (uint16_t p = 0; p < pluginCount; ++p) {
        const uint32_t offset = in.U32("plug-in name offset");
        const uint32_t size = in.U32("plug-in name size");
        const std::span<const uint8_t> name =
            Region(in, section, directoryEnd, offset, size, "the name of plug-in " + std::to_string(p));
        directory.plugins.emplace_back(name.begin(), name.end());
    }
    for (uint16_t s = 0; s < setCount; ++s) {
        StoredSetEntry entry;
        entry.plugin = in.U16("stored-Set plug-in");
        entry.order = in.U16("stored-Set order");
        const uint32_t offset = in.U32("stored-Set offset");
        const uint32_t size = in.U32("stored-Set size");
        if (entry.plugin >= pluginCount) {
            in.Fail("stored Set " + std::to_string(s) + " belongs to plug-in " +
                    std::to_string(entry.plugin) + ", but there are " + std::to_string(pluginCount));
        }
        entry.bytes = Region(in, section, directoryEnd, offset, size, "stored Set " + std::to_string(s));
        directory.sets.push_back(entry);
    }
    CheckOrders(in, directory);
    return directory;
}

std::vector<StoredSetEntry> SetsOfPlugin(const StoredSetDirectory& directory, size_t plugin) {
    std::vector<StoredSetEntry> sets;
    std::copy_if(directory.sets.begin(), directory.sets.end(), std::back_inserter(sets),
                 [&](const StoredSetEntry& e) { return e.plugin == plugin; });
    std::sort(sets.begin(), sets.end(),
              [](const StoredSetEntry& a, const StoredSetEntry& b) { return a.order < b.order; });
    return sets;
}

} // namespace vhost
