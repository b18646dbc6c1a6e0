// An 8-bit RGB picture in memory: what the manual's crops and logo are made of.
#pragma once

#include <cstdint>
#include <vector>

namespace vhost::manual {

// Rows top to bottom, three bytes a pixel (red, green, blue).
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    bool operator==(const RgbPicture&) const = default;
};

} // namespace vhost::manual
