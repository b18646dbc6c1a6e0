#include "host/resources/ImageMode.h"

namespace vhost {

namespace {

struct ModeNames {
    std::string_view expression;
    std::string_view display;
};

constexpr ModeNames kNames[kImageModeCount] = {
    {"BitmapMode", "Bitmap"},
    {"GrayScaleMode", "Grayscale"},
    {"IndexedMode", "Indexed Color"},
    {"RGBMode", "RGB Color"},
    {"CMYKMode", "CMYK Color"},
    {"HSLMode", "HSL"},
    {"HSBMode", "HSB"},
    {"MultichannelMode", "Multichannel"},
    {"DuotoneMode", "Duotone"},
    {"LabMode", "Lab Color"},
    {"Gray16Mode", "Grayscale, 16 bits per channel"},
    {"RGB48Mode", "RGB Color, 16 bits per channel"},
    {"Lab48Mode", "Lab Color, 16 bits per channel"},
    {"CMYK64Mode", "CMYK Color, 16 bits per channel"},
    {"DeepMultichannelMode", "Multichannel, 16 bits per channel"},
    {"Duotone16Mode", "Duotone, 16 bits per channel"},
};

} // namespace

std::string_view ModeExpressionName(ImageMode mode) {
    return kNames[unsigned(mode)].expression;
}

std::string_view ModeDisplayName(ImageMode mode) {
    return kNames[unsigned(mode)].display;
}

std::optional<ImageMode> ModeFromExpressionName(std::string_view name) {
    for (int i = 0; i < kImageModeCount; ++i) {
        if (kNames[i].expression == name) {
            return ImageMode(i);
        }
    }
    return std::nullopt;
}

std::optional<ImageMode> RGBModeForDepth(int bitsPerChannel) {
    switch (bitsPerChannel) {
    case 8:
        return ImageMode::RGB;
    case 16:
        return ImageMode::RGB48;
    default:
        return std::nullopt;
    }
}

std::string DescribeModes(uint16_t flags) {
    std::string text;
    for (int i = 0; i < kImageModeCount; ++i) {
        auto mode = ImageMode(i);
        if ((flags & ModeFlag(mode)) == 0) {
            continue;
        }
        if (!text.empty()) {
            text += " or ";
        }
        text += std::string(ModeDisplayName(mode)) + " (" + std::string(ModeExpressionName(mode)) + ")";
    }
    return text.empty() ? "no image mode" : text;
}

} // namespace vhost
