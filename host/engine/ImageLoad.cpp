#include <cmath>
#include <string_view>

#include "host/engine/EngineError.h"
#include "host/engine/FileProbe.h"
#include "host/engine/IccProfile.h"
#include "host/engine/ImageFile.h"
#include "host/engine/InOrderSource.h"
#include "host/engine/Vips.h"

namespace vhost::engine {

namespace {

constexpr double kDefaultPpi = 72.0;
constexpr double kMillimetresPerInch = 25.4;
constexpr const char* kAccepted = "the plug-ins accept RGB images of 8 or 16 bits per channel";

// What the file adds to what libvips reports.
struct FileFacts {
    bool hasResolution = true;
    bool indexed = false;
};

std::string LoaderOf(const vips::VImage& image) {
    if (image.get_typeof("vips-loader") == 0) {
        return {};
    }
    return image.get_string("vips-loader");
}

std::string BitsText(VipsBandFormat format) {
    switch (format) {
    case VIPS_FORMAT_UCHAR:
        return "8 bits per channel";
    case VIPS_FORMAT_CHAR:
        return "8 bits per channel, signed";
    case VIPS_FORMAT_USHORT:
        return "16 bits per channel";
    case VIPS_FORMAT_SHORT:
        return "16 bits per channel, signed";
    case VIPS_FORMAT_FLOAT:
        return "32 bits per channel, floating point";
    case VIPS_FORMAT_DOUBLE:
        return "64 bits per channel, floating point";
    default:
        return "32 bits per channel";
    }
}

// The image's mode when the plug-ins do not take it, else std::nullopt.
std::optional<std::string> RefusedMode(const vips::VImage& image, bool indexed) {
    const VipsInterpretation kind = image.interpretation();
    if (indexed) {
        return "Indexed Color";
    }
    if (kind == VIPS_INTERPRETATION_CMYK) {
        return "CMYK";
    }
    if (kind == VIPS_INTERPRETATION_LAB || kind == VIPS_INTERPRETATION_LABS ||
        kind == VIPS_INTERPRETATION_LABQ) {
        return "Lab";
    }
    if (image.bands() <= 2) {
        return "Grayscale";
    }
    if (image.bands() > 4) {
        return "Multichannel";
    }
    if (image.format() != VIPS_FORMAT_UCHAR && image.format() != VIPS_FORMAT_USHORT) {
        return "RGB";
    }
    return std::nullopt;
}

void CheckMode(const vips::VImage& image, const std::string& name, bool indexed) {
    if (const auto mode = RefusedMode(image, indexed)) {
        throw EngineError(code::kParamErr, "\"" + name + "\" is in " + *mode + " mode at " +
                                               BitsText(image.format()) + "; " + kAccepted);
    }
}

// Decoded pixels are kept (in memory or a scratch file) and worked on in
// floats: a file claiming more than this (a 16-bit RGBA image of over 500
// megapixels) is refused before anything is decoded.
constexpr uint64_t kMaxDecodedBytes = uint64_t(4) << 30;

void CheckSize(const vips::VImage& image, const std::string& name) {
    const uint64_t bytes = uint64_t(image.width()) * uint64_t(image.height()) * uint64_t(image.bands()) *
                           (image.format() == VIPS_FORMAT_USHORT ? 2 : 1);
    if (bytes > kMaxDecodedBytes) {
        throw EngineError(code::kParamErr, "\"" + name + "\" is too large: " + std::to_string(image.width()) +
                                               " x " + std::to_string(image.height()) +
                                               " pixels need more than 4 GB of memory");
    }
}

void ReadProfile(const vips::VImage& image, Picture& picture) {
    picture.profileName = kNoProfileName;
    if (image.get_typeof(VIPS_META_ICC_NAME) == 0) {
        return;
    }
    size_t size = 0;
    const void* data = image.get_blob(VIPS_META_ICC_NAME, &size);
    picture.iccProfile.assign(static_cast<const char*>(data), size);
    const auto description = IccDescription(picture.iccProfile);
    picture.profileName = description && !description->empty() ? *description : kUnnamedProfileName;
}

Picture Inspect(const vips::VImage& image, const std::string& name, const FileFacts& facts) {
    CheckMode(image, name, facts.indexed);
    CheckSize(image, name);
    Picture picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.depth = image.format() == VIPS_FORMAT_USHORT ? 16 : 8;
    // Files hold resolutions as single floats (TIFF) or whole pixels per metre
    // (PNG); a thousandth of a pixel per inch is all the precision there is.
    picture.resolution =
        facts.hasResolution ? std::round(image.xres() * kMillimetresPerInch * 1000.0) / 1000.0 : kDefaultPpi;
    ReadProfile(image, picture);
    const double scale = picture.depth == 16 ? 1.0 / 65535.0 : 1.0 / 255.0;
    const vips::VImage colour =
        image.bands() == 4 ? image.extract_band(0, vips::VImage::option()->set("n", 3)) : image;
    picture.rgb = colour.linear(scale, 0.0);
    if (image.bands() == 4) {
        picture.alpha = image.extract_band(3);
    }
    return picture;
}

FileFacts ProbeFacts(const vips::VImage& image, const std::string& path) {
    const std::string loader = LoaderOf(image);
    FileFacts facts;
    if (loader == "pngload") {
        facts.hasResolution = PngHasResolution(path);
        facts.indexed = image.get_typeof("palette-bit-depth") != 0;
    } else if (loader == "tiffload" || loader == "jpegload") {
        // Both loaders set the unit only when the file states a resolution.
        facts.hasResolution = image.get_typeof("resolution-unit") != 0;
        facts.indexed = loader == "tiffload" && TiffIsIndexed(path);
    } else {
        throw EngineError(code::kParamErr, "\"" + path + "\" is not a TIFF, PNG or JPEG file");
    }
    return facts;
}

} // namespace

Picture LoadPicture(const std::string& path) {
    StartVips();
    vips::VImage image;
    try {
        image = vips::VImage::new_from_file(path.c_str(), vips::VImage::option()
                                                              ->set("access", VIPS_ACCESS_SEQUENTIAL)
                                                              // A file cut short is an error, not an
                                                              // image padded with black.
                                                              ->set("fail_on", VIPS_FAIL_ON_TRUNCATED));
    } catch (const vips::VError& failure) {
        throw EngineError(code::kParamErr, "cannot open \"" + path + "\": " + VipsMessage(failure));
    }
    const FileFacts facts = ProbeFacts(image, path);
    return Inspect(ReadInOrder(image), path, facts);
}

Picture OpenPicture(const vips::VImage& image, const std::string& name) {
    StartVips();
    return Inspect(image, name, FileFacts{});
}

} // namespace vhost::engine
