// The host's image modes, in the order of a property list's mode flags (the
// first in the top bit), with the names an enable expression uses for them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vhost {

enum class ImageMode : uint8_t {
    Bitmap,
    Grayscale,
    Indexed,
    RGB,
    CMYK,
    HSL,
    HSB,
    Multichannel,
    Duotone,
    Lab,
    Gray16,
    RGB48,
    Lab48,
    CMYK64,
    DeepMultichannel,
    Duotone16,
};

constexpr int kImageModeCount = 16;

// The mode's bit among the 16 mode flags.
constexpr uint16_t ModeFlag(ImageMode mode) {
    return uint16_t(0x8000u >> unsigned(mode));
}

// The name in an enable expression, e.g. "RGB48Mode".
std::string_view ModeExpressionName(ImageMode mode);
std::optional<ImageMode> ModeFromExpressionName(std::string_view name);

// A name for messages, e.g. "RGB Color, 16 bits per channel".
std::string_view ModeDisplayName(ImageMode mode);

// The mode of an RGB document of 8 or 16 bits per channel; nullopt for other depths.
std::optional<ImageMode> RGBModeForDepth(int bitsPerChannel);

// The modes of a set of flags for messages: "RGB Color (RGBMode) or ...".
std::string DescribeModes(uint16_t flags);

} // namespace vhost
