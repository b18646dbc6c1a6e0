#include "tools/resgen/SectionImage.h"

#include "tools/resgen/ByteWriter.h"

namespace vtools {

namespace {

constexpr uint16_t kLayoutVersion = 1;
constexpr size_t kHeaderSize = 8;
constexpr size_t kEntrySize = 16;

size_t RoundUpTo4(size_t n) {
    return (n + 3) / 4 * 4;
}

} // namespace

std::vector<uint8_t> BuildSectionImage(const std::vector<Resource>& resources) {
    if (resources.size() > 0xFFFF) {
        throw GeneratorError("too many resources for one section");
    }
    ByteWriter out;
    for (char c : std::string_view("VLHR")) {
        out.U8(uint8_t(c));
    }
    out.U16(kLayoutVersion);
    out.U16(uint16_t(resources.size()));

    size_t offset = kHeaderSize + kEntrySize * resources.size();
    for (const Resource& r : resources) {
        if (r.type.size() != 4) {
            throw GeneratorError("resource type must have four characters: \"" + r.type + "\"");
        }
        for (char c : r.type) {
            out.U8(uint8_t(c));
        }
        out.U16(r.id);
        out.U16(r.language);
        out.U32(uint32_t(offset));
        out.U32(uint32_t(r.bytes.size()));
        offset = RoundUpTo4(offset + r.bytes.size());
    }
    for (const Resource& r : resources) {
        out.AlignTo4();
        out.Bytes(r.bytes);
    }
    return out.Bytes();
}

} // namespace vtools
