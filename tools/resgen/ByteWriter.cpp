#include "tools/resgen/ByteWriter.h"

#include <string>

namespace vtools {

void ByteWriter::U8(uint8_t v) {
    bytes_.push_back(v);
}

void ByteWriter::U16(uint16_t v) {
    U8(uint8_t(v));
    U8(uint8_t(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
    U16(uint16_t(v));
    U16(uint16_t(v >> 16));
}

void ByteWriter::Bytes(const std::vector<uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::CountedString(std::string_view text) {
    if (text.size() > 255) {
        throw GeneratorError("text too long for a counted string: \"" + std::string(text) + "\"");
    }
    U8(uint8_t(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void ByteWriter::CString(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) {
        throw GeneratorError("NUL inside a NUL-terminated text");
    }
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    U8(0);
}

void ByteWriter::WideCString(std::string_view text) {
    for (char c : text) {
        if (uint8_t(c) == 0 || uint8_t(c) > 0x7F) {
            throw GeneratorError("version texts must be ASCII: \"" + std::string(text) + "\"");
        }
        U16(uint8_t(c));
    }
    U16(0);
}

void ByteWriter::AlignTo4() {
    while (bytes_.size() % 4 != 0) {
        U8(0);
    }
}

void ByteWriter::PatchU16(size_t at, uint16_t v) {
    bytes_.at(at) = uint8_t(v);
    bytes_.at(at + 1) = uint8_t(v >> 8);
}

void ByteWriter::PatchU32(size_t at, uint32_t v) {
    PatchU16(at, uint16_t(v));
    PatchU16(at + 2, uint16_t(v >> 16));
}

} // namespace vtools
