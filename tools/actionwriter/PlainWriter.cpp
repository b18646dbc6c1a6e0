#include "tools/actionwriter/PlainWriter.h"

#include <bit>

namespace vtools {

void PlainWriter::Int16(int16_t value) {
    const auto bits = uint16_t(value);
    Byte(uint8_t(bits >> 8));
    Byte(uint8_t(bits));
}

void PlainWriter::Int32(int32_t value) {
    const auto bits = uint32_t(value);
    for (int shift = 24; shift >= 0; shift -= 8) {
        Byte(uint8_t(bits >> shift));
    }
}

void PlainWriter::Double(double value) {
    const auto bits = std::bit_cast<uint64_t>(value);
    for (int shift = 56; shift >= 0; shift -= 8) {
        Byte(uint8_t(bits >> shift));
    }
}

void PlainWriter::Code(std::string_view code) {
    for (char c : code) {
        Byte(uint8_t(c));
    }
}

void PlainWriter::Unicode(const UnicodeText& text) {
    const auto units = int32_t(text.units.size() + (text.terminated ? 1 : 0));
    Int32(text.count.value_or(units));
    for (char16_t unit : text.units) {
        Byte(uint8_t(unit >> 8));
        Byte(uint8_t(unit));
    }
    if (text.terminated) {
        Int16(0);
    }
}

void PlainWriter::Text(const ByteText& text) {
    Int32(text.length.value_or(int32_t(text.bytes.size())));
    Code(text.bytes);
}

void PlainWriter::Id(const IdField& id) {
    Int32(id.length);
    Code(id.bytes);
}

void PlainWriter::Raw(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

} // namespace vtools
