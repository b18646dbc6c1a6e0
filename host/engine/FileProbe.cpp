#include "host/engine/FileProbe.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <optional>

namespace vhost::engine {

namespace {

// Reads unsigned integers of 2, 4 or 8 bytes at a position, in one byte order.
class Reader {
public:
    explicit Reader(const std::string& path) : in_(path, std::ios::binary) {}

    bool Good() const { return static_cast<bool>(in_); }
    void SetLittleEndian(bool little) { little_ = little; }

    std::optional<uint64_t> Read(uint64_t at, int size) {
        std::array<unsigned char, 8> b{};
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(at));
        if (!in_.read(reinterpret_cast<char*>(b.data()), size)) {
            return std::nullopt;
        }
        uint64_t v = 0;
        for (int i = 0; i < size; ++i) {
            const unsigned char byte =
                little_ ? b[static_cast<size_t>(size - 1 - i)] : b[static_cast<size_t>(i)];
            v = v << 8 | byte;
        }
        return v;
    }

private:
    std::ifstream in_;
    bool little_ = false;
};

constexpr uint64_t kPngSignatureSize = 8;
constexpr uint64_t kPngSignatureHigh = 0x89504E470D0A1A0Aull;
constexpr uint32_t kChunkPhys = 0x70485973; // 'pHYs'
constexpr uint32_t kChunkIdat = 0x49444154; // 'IDAT'
constexpr uint32_t kChunkIend = 0x49454E44; // 'IEND'
constexpr uint64_t kMaxPngChunk = 0x7FFFFFFF;

constexpr uint16_t kTagPhotometric = 262;
constexpr uint64_t kPhotometricPalette = 3;
constexpr uint64_t kMaxIfdEntries = 4096;

} // namespace

bool PngHasResolution(const std::string& path) {
    Reader file(path);
    if (!file.Good() || file.Read(0, 8) != kPngSignatureHigh) {
        return false;
    }
    uint64_t at = kPngSignatureSize;
    for (;;) {
        const auto length = file.Read(at, 4);
        const auto type = file.Read(at + 4, 4);
        if (!length || !type || *length > kMaxPngChunk) {
            return false;
        }
        if (*type == kChunkPhys) {
            return true;
        }
        if (*type == kChunkIdat || *type == kChunkIend) {
            return false;
        }
        at += 12 + *length; // length, type, data, CRC
    }
}

bool TiffIsIndexed(const std::string& path) {
    Reader file(path);
    const auto order = file.Good() ? file.Read(0, 2) : std::nullopt;
    if (order == 0x4949) { // "II"
        file.SetLittleEndian(true);
    } else if (order != 0x4D4D) { // "MM"
        return false;
    }
    const auto version = file.Read(2, 2);
    const bool big = version == 43;
    if (!big && version != 42) {
        return false;
    }
    // Classic: 4-byte offsets, 2-byte entry count, 12-byte entries.
    // BigTIFF: 8-byte offsets, 8-byte entry count, 20-byte entries.
    const int offsetSize = big ? 8 : 4;
    const auto ifd = file.Read(big ? 8 : 4, offsetSize);
    const auto count = ifd ? file.Read(*ifd, big ? 8 : 2) : std::nullopt;
    if (!count || *count > kMaxIfdEntries) {
        return false;
    }
    const uint64_t first = *ifd + (big ? 8 : 2);
    const uint64_t entrySize = big ? 20 : 12;
    for (uint64_t i = 0; i < *count; ++i) {
        const uint64_t entry = first + i * entrySize;
        if (file.Read(entry, 2) == kTagPhotometric) {
            // A SHORT value sits at the start of the value field.
            return file.Read(entry + 4 + static_cast<uint64_t>(offsetSize), 2) == kPhotometricPalette;
        }
    }
    return false;
}

} // namespace vhost::engine
