// Little-endian byte output for resource layouts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace vtools {

// A resource that cannot be written as asked (a text too long for its count).
class GeneratorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteWriter {
public:
    void U8(uint8_t v);
    void U16(uint16_t v);
    void U32(uint32_t v);
    // A four-character code as a little-endian 32-bit value: 'kind' becomes "dnik".
    void Code(uint32_t code) { U32(code); }
    void Bytes(const std::vector<uint8_t>& bytes);
    // One length byte and the characters; throws GeneratorError past 255.
    void CountedString(std::string_view text);
    // The characters and a terminating NUL.
    void CString(std::string_view text);
    // ASCII text as UTF-16 code units and a terminating NUL unit; throws on other bytes.
    void WideCString(std::string_view text);
    // Zero bytes until the size is a multiple of 4.
    void AlignTo4();

    void PatchU16(size_t at, uint16_t v);
    void PatchU32(size_t at, uint32_t v);

    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace vtools
