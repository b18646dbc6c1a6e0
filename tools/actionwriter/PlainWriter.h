// Field encoder of the action-set layout: appends each field, big-endian,
// with no padding, to a growing byte buffer.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "tools/actionwriter/ActionModel.h"

namespace vtools {

class PlainWriter {
public:
    void Byte(uint8_t value) { bytes_.push_back(value); }
    void Int16(int16_t value);
    void Int32(int32_t value);
    void Double(double value);
    // A type, form or identifier code: its bytes exactly as given (four for a
    // well-formed stream).
    void Code(std::string_view code);
    void Unicode(const UnicodeText& text);
    void Text(const ByteText& text);
    void Id(const IdField& id);
    void Raw(std::span<const uint8_t> bytes);

    const Bytes& bytes() const noexcept { return bytes_; }
    Bytes take() noexcept { return std::move(bytes_); }

private:
    Bytes bytes_;
};

} // namespace vtools
