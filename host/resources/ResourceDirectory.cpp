#include "host/resources/ResourceDirectory.h"

#include "host/resources/ByteReader.h"

#include <algorithm>

namespace vhost {

namespace {

constexpr uint16_t kLayoutVersion = 1;
constexpr size_t kHeaderSize = 8;
constexpr size_t kEntrySize = 16;

bool IsPrintableType(std::span<const uint8_t> type) {
    return std::all_of(type.begin(), type.end(), [](uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

std::string Describe(const ResourceEntry& e) {
    return e.type + " " + std::to_string(e.id) + " (language " + std::to_string(e.language) + ")";
}

ResourceEntry ReadEntry(ByteReader& in, std::span<const uint8_t> section, size_t directoryEnd) {
    ResourceEntry entry;
    std::span<const uint8_t> type = in.Take(4, "entry type");
    if (!IsPrintableType(type)) {
        in.Fail("entry at offset " + std::to_string(in.Offset() - 4) + " has a type that is not text");
    }
    entry.type.assign(type.begin(), type.end());
    entry.id = in.U16("entry ID");
    entry.language = in.U16("entry language");
    uint32_t offset = in.U32("entry offset");
    uint32_t size = in.U32("entry size");
    if (offset < directoryEnd) {
        in.Fail(Describe(entry) + " starts at " + std::to_string(offset) + ", inside the directory");
    }
    if (offset > section.size()) {
        in.Fail(Describe(entry) + " starts at " + std::to_string(offset) + ", past the section's " +
                std::to_string(section.size()) + " bytes");
    }
    if (size > section.size() - offset) {
        in.Fail(Describe(entry) + " of " + std::to_string(size) + " bytes at " + std::to_string(offset) +
                " runs past the section's " + std::to_string(section.size()) + " bytes");
    }
    entry.bytes = section.subspan(offset, size);
    return entry;
}

} // namespace

std::vector<ResourceEntry> ParseResourceDirectory(std::span<const uint8_t> section) {
    ByteReader in(section, "resource section");
    std::span<const uint8_t> magic = in.Take(4, "magic");
    if (!std::equal(magic.begin(), magic.end(), "VLHR")) {
        in.Fail("does not start with the resource directory's magic");
    }
    uint16_t version = in.U16("layout version");
    if (version != kLayoutVersion) {
        in.Fail("directory layout " + std::to_string(version) + " is not known (expected " +
                std::to_string(kLayoutVersion) + ")");
    }
    size_t count = in.U16("entry count");
    size_t directoryEnd = kHeaderSize + kEntrySize * count;
    if (directoryEnd > section.size()) {
        in.Fail("directory of " + std::to_string(count) + " entries needs " + std::to_string(directoryEnd) +
                " bytes, the section has " + std::to_string(section.size()));
    }
    std::vector<ResourceEntry> entries;
    entries.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        ResourceEntry entry = ReadEntry(in, section, directoryEnd);
        for (const ResourceEntry& other : entries) {
            if (other.type == entry.type && other.id == entry.id && other.language == entry.language) {
                in.Fail(Describe(entry) + " appears twice");
            }
        }
        entries.push_back(entry);
    }
    return entries;
}

const ResourceEntry* FindResource(const std::vector<ResourceEntry>& entries, std::string_view type,
                                  uint16_t id) {
    for (const ResourceEntry& e : entries) {
        if (e.type == type && e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

} // namespace vhost
