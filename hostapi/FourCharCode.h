// Four-character codes: 32-bit values whose bytes, most significant first,
// spell four characters ('Dcmn', 'Nm  ').
#pragma once

#include <cstdint>
#include <string>

namespace vlh {

constexpr uint32_t FourCC(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 |
           uint32_t(uint8_t(code[2])) << 8 | uint32_t(uint8_t(code[3]));
}

// The four bytes of a code at p, first byte most significant.
constexpr uint32_t FourCCFromBytes(const char* p) {
    return uint32_t(uint8_t(p[0])) << 24 | uint32_t(uint8_t(p[1])) << 16 | uint32_t(uint8_t(p[2])) << 8 |
           uint32_t(uint8_t(p[3]));
}

// The code as its four characters, for logs and messages.
inline std::string FourCCText(uint32_t code) {
    return {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
}

} // namespace vlh
