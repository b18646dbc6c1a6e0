#include "host/resources/ByteReader.h"

#include "host/resources/ResourceError.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace vhost {

ByteReader::ByteReader(std::span<const uint8_t> bytes, std::string what)
    : bytes_(bytes), what_(std::move(what)) {
}

std::span<const uint8_t> ByteReader::Take(size_t count, const char* field) {
    if (count > Remaining()) {
        Fail("truncated: " + std::string(field) + " at offset " + std::to_string(offset_) + " needs " +
             std::to_string(count) + " bytes, " + std::to_string(Remaining()) + " left");
    }
    std::span<const uint8_t> taken = bytes_.subspan(offset_, count);
    offset_ += count;
    return taken;
}

uint8_t ByteReader::U8(const char* field) {
    return Take(1, field)[0];
}

uint16_t ByteReader::U16(const char* field) {
    std::span<const uint8_t> b = Take(2, field);
    return uint16_t(b[0] | b[1] << 8);
}

uint32_t ByteReader::U32(const char* field) {
    std::span<const uint8_t> b = Take(4, field);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

std::string ByteReader::CountedString(const char* field) {
    size_t length = U8(field);
    std::span<const uint8_t> text = Take(length, field);
    return std::string(text.begin(), text.end());
}

void ByteReader::Fail(const std::string& message) const {
    throw ResourceError(what_ + ": " + message);
}

std::string TerminatedString(std::span<const uint8_t> data, const std::string& what, const char* field) {
    auto end = std::find(data.begin(), data.end(), uint8_t(0));
    if (end == data.end()) {
        throw ResourceError(what + ": " + field + " is not NUL-terminated within its " +
                            std::to_string(data.size()) + " bytes");
    }
    return std::string(data.begin(), end);
}

std::string QuotedCode(uint32_t code) {
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = char(code >> shift);
        if (c < 0x20 || c > 0x7E) {
            char hex[11];
            std::snprintf(hex, sizeof hex, "0x%08X", unsigned(code));
            return hex;
        }
        text += c;
    }
    return text + "'";
}

} // namespace vhost
