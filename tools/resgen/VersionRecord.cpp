#include "tools/resgen/VersionRecord.h"

#include "tools/resgen/ByteWriter.h"

#include <cstdio>

namespace vtools {

namespace {

constexpr uint16_t kBinary = 0;
constexpr uint16_t kText = 1;
constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint32_t kFixedStructVersion = 0x00010000;
constexpr uint32_t kFileFlagsMask = 0x3F;     // VS_FFI_FILEFLAGSMASK
constexpr uint32_t kWindowsNT32 = 0x00040004; // VOS_NT_WINDOWS32
constexpr uint16_t kFixedInfoSize = 13 * 4;

// Starts a block; its length is filled in by CloseBlock.
size_t OpenBlock(ByteWriter& out, std::string_view key, uint16_t valueLength, uint16_t type) {
    out.AlignTo4();
    size_t start = out.Size();
    out.U16(0);
    out.U16(valueLength);
    out.U16(type);
    out.WideCString(key);
    out.AlignTo4();
    return start;
}

void CloseBlock(ByteWriter& out, size_t start) {
    size_t length = out.Size() - start;
    if (length > 0xFFFF) {
        throw GeneratorError("version record block too long");
    }
    out.PatchU16(start, uint16_t(length));
}

void WriteFixedInfo(ByteWriter& out, const VersionData& v) {
    out.U32(kFixedSignature);
    out.U32(kFixedStructVersion);
    out.U32(uint32_t(v.fileVersion[0]) << 16 | v.fileVersion[1]);
    out.U32(uint32_t(v.fileVersion[2]) << 16 | v.fileVersion[3]);
    out.U32(uint32_t(v.productVersion[0]) << 16 | v.productVersion[1]);
    out.U32(uint32_t(v.productVersion[2]) << 16 | v.productVersion[3]);
    out.U32(kFileFlagsMask);
    out.U32(0); // file flags
    out.U32(kWindowsNT32);
    out.U32(v.fileType);
    out.U32(0); // subtype
    out.U32(0); // date, high
    out.U32(0); // date, low
}

// The text table's key: language and code page as eight hex digits.
std::string TableKey(const VersionData& v) {
    char key[9];
    std::snprintf(key, sizeof key, "%04x%04x", unsigned(v.language), unsigned(v.codePage));
    return key;
}

void WriteTexts(ByteWriter& out, const VersionData& v) {
    size_t info = OpenBlock(out, "StringFileInfo", 0, kText);
    size_t table = OpenBlock(out, TableKey(v), 0, kText);
    for (const auto& [key, value] : v.texts) {
        // A text's value length counts UTF-16 units, the terminator included.
        size_t entry = OpenBlock(out, key, uint16_t(value.size() + 1), kText);
        out.WideCString(value);
        CloseBlock(out, entry);
    }
    CloseBlock(out, table);
    CloseBlock(out, info);
}

void WriteTranslation(ByteWriter& out, const VersionData& v) {
    size_t info = OpenBlock(out, "VarFileInfo", 0, kText);
    size_t var = OpenBlock(out, "Translation", 4, kBinary);
    out.U16(v.language);
    out.U16(v.codePage);
    CloseBlock(out, var);
    CloseBlock(out, info);
}

} // namespace

std::vector<uint8_t> BuildVersionRecord(const VersionData& version) {
    ByteWriter out;
    size_t root = OpenBlock(out, "VS_VERSION_INFO", kFixedInfoSize, kBinary);
    WriteFixedInfo(out, version);
    WriteTexts(out, version);
    WriteTranslation(out, version);
    CloseBlock(out, root);
    return out.Bytes();
}

} // namespace vtools
