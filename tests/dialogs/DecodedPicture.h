// A picture file decoded by GdkPixbuf, a decoder independent of ours and of
// the module's toolkit: the reference the logo and the bitmap writer are
// checked against.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vlh::dialogs {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // rows top to bottom, 0xRRGGBB
};

// std::nullopt when GdkPixbuf cannot decode the bytes.
std::optional<DecodedPicture> DecodePicture(const uint8_t* bytes, size_t size);

} // namespace vlh::dialogs
