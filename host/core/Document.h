// The active document as the host's object model holds it. Layers and pixels
// belong to the image engine, which hangs them on `pixels`.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vhost {

// Defined by the image engine; the host only carries it.
struct DocumentPixels;

enum class ColourMode { Bitmap, Grayscale, Indexed, RGB, CMYK, Lab, Multichannel, Duotone };

struct Document {
    ColourMode mode = ColourMode::RGB;
    int32_t depth = 8;        // bits per channel: 8 or 16
    int32_t width = 0;        // pixels
    int32_t height = 0;       // pixels
    double resolution = 72.0; // pixels per inch
    std::string profile = "sRGB IEC61966-2.1";
    std::vector<std::string> history;       // history state names, oldest first
    std::shared_ptr<DocumentPixels> pixels; // layers and pixels, filled by the engine
};

} // namespace vhost
