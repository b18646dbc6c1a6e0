// Writing an indexed picture as a Windows bitmap file: 8 bits per pixel, a
// palette of 256 entries, run-length encoded (compression 1), bottom-up, at
// 2834 pixels per metre (72 dpi). The about box's logo is stored this way.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vtools {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A picture of palette indices, rows top to bottom.
struct IndexedPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::array<Rgb, 256> palette{};
    std::vector<uint8_t> pixels; // width * height indices
};

struct BitmapError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The run-length encoding of one row of indices: runs of equal indices as
// (count, index) pairs, stretches of three or more differing indices in
// absolute mode (padded to an even length). No end-of-line marker.
std::vector<uint8_t> EncodeRle8Row(const uint8_t* row, size_t width);

// The whole file. Throws BitmapError for a picture whose size is not 1 to
// 32767 pixels a side or whose pixel count does not match its size.
std::vector<uint8_t> WriteRle8Bitmap(const IndexedPicture& picture);

// An RGB picture as a binary PPM (P6, maximum 255) holds it, turned into
// palette indices: colours in order of first appearance, the rest of the
// palette black. Throws BitmapError for a malformed file or more than 256
// colours.
IndexedPicture ReadPpmAsIndexed(const std::string& bytes);

} // namespace vtools
