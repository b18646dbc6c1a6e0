// A plain little-endian byte walker for checking resource layouts in tests,
// independent of the generator's writer and the host's reader. Reading past
// the end throws std::out_of_range, which fails the test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vlhtest {

class ByteWalker {
public:
    explicit ByteWalker(const std::vector<uint8_t>& bytes, size_t start = 0, size_t end = SIZE_MAX)
        : bytes_(bytes), pos_(start), end_(end == SIZE_MAX ? bytes.size() : end) {}

    uint8_t U8() {
        Need(1);
        return bytes_[pos_++];
    }
    uint16_t U16() {
        uint16_t low = U8();
        return uint16_t(low | U8() << 8);
    }
    uint32_t U32() {
        uint32_t low = U16();
        return low | uint32_t(U16()) << 16;
    }
    // n raw bytes as a string, e.g. "ZIL8" for the code '8LIZ'.
    std::string Raw(size_t n) {
        Need(n);
        std::string s(bytes_.begin() + long(pos_), bytes_.begin() + long(pos_ + n));
        pos_ += n;
        return s;
    }
    std::string Counted() { return Raw(U8()); }
    // UTF-16 units up to a NUL unit, as ASCII.
    std::string Wide() {
        std::string s;
        for (uint16_t unit = U16(); unit != 0; unit = U16()) {
            s += char(unit);
        }
        return s;
    }
    void AlignTo4(size_t base = 0) {
        while ((pos_ - base) % 4 != 0) {
            if (U8() != 0) {
                throw std::runtime_error("non-zero alignment padding");
            }
        }
    }
    size_t Pos() const { return pos_; }
    size_t Left() const { return end_ - pos_; }
    bool AtEnd() const { return pos_ == end_; }

private:
    void Need(size_t n) const {
        if (n > end_ - pos_) {
            throw std::out_of_range("read past the end at " + std::to_string(pos_));
        }
    }

    const std::vector<uint8_t>& bytes_;
    size_t pos_;
    size_t end_;
};

} // namespace vlhtest
