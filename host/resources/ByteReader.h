// Bounded little-endian reading of one resource. Every read is checked against
// the bytes that remain; running short throws ResourceError naming the
// resource, the field and the offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vhost {

class ByteReader {
public:
    // what names the resource in messages, e.g. "property list 16000".
    ByteReader(std::span<const uint8_t> bytes, std::string what);

    uint8_t U8(const char* field);
    uint16_t U16(const char* field);
    uint32_t U32(const char* field);
    int32_t I32(const char* field) { return int32_t(U32(field)); }
    // A four-character code stored as a little-endian 32-bit value.
    uint32_t Code(const char* field) { return U32(field); }
    // One length byte and that many characters.
    std::string CountedString(const char* field);
    std::span<const uint8_t> Take(size_t count, const char* field);

    size_t Offset() const { return offset_; }
    size_t Remaining() const { return bytes_.size() - offset_; }
    const std::string& What() const { return what_; }

    // Throws ResourceError "<what>: <message>".
    [[noreturn]] void Fail(const std::string& message) const;

private:
    std::span<const uint8_t> bytes_;
    size_t offset_ = 0;
    std::string what_;
};

// The text of a NUL-terminated string that must end inside data; throws
// ResourceError "<what>: <field> is not terminated" otherwise.
std::string TerminatedString(std::span<const uint8_t> data, const std::string& what, const char* field);

// A code for messages: 'abcd' when its characters are printable, else 0x61626364.
std::string QuotedCode(uint32_t code);

} // namespace vhost
