#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include "host/engine/EngineError.h"
#include "host/engine/ImageFile.h"
#include "host/engine/Vips.h"

namespace vhost::engine {

namespace {

namespace fs = std::filesystem;

enum class FileFormat { Tiff, Png, Jpeg };

constexpr double kMillimetresPerInch = 25.4;
constexpr int kJpegQuality = 95;

[[noreturn]] void Fail(const std::string& path, const std::string& why) {
    throw EngineError(code::kParamErr, "cannot save \"" + path + "\": " + why);
}

FileFormat FormatOf(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    for (char& c : ext) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (ext == ".tif" || ext == ".tiff") {
        return FileFormat::Tiff;
    }
    if (ext == ".png") {
        return FileFormat::Png;
    }
    if (ext == ".jpg" || ext == ".jpeg") {
        return FileFormat::Jpeg;
    }
    Fail(path, "the name must end in .tif, .tiff, .png, .jpg or .jpeg");
}

void CheckFits(const Picture& picture, FileFormat format, const std::string& path) {
    if (format != FileFormat::Jpeg) {
        return;
    }
    if (picture.depth != 8) {
        Fail(path, "JPEG holds 8 bits per channel only; save a 16-bit image as TIFF or PNG");
    }
    if (picture.alpha) {
        Fail(path, "JPEG holds no alpha channel; save this image as TIFF or PNG");
    }
}

void CheckNotSource(const std::string& path, const SaveOptions& options) {
    std::error_code ignored;
    if (!options.replaceSource && !options.source.empty() && fs::equivalent(path, options.source, ignored)) {
        Fail(path, "it is the file the image came from");
    }
}

// The picture at its depth: rounded, clipped, alpha joined back, resolution
// and profile set.
vips::VImage Stored(const Picture& picture) {
    const bool deep = picture.depth == 16;
    vips::VImage out =
        picture.rgb.linear(deep ? 65535.0 : 255.0, 0.5).cast(deep ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR);
    if (picture.alpha) {
        out = out.bandjoin(*picture.alpha);
    }
    const double perMillimetre = picture.resolution / kMillimetresPerInch;
    out = out.copy(vips::VImage::option()
                       ->set("interpretation", deep ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB)
                       ->set("xres", perMillimetre)
                       ->set("yres", perMillimetre));
    if (picture.iccProfile.empty()) {
        out.remove(VIPS_META_ICC_NAME);
    } else {
        vips_image_set_blob_copy(out.get_image(), VIPS_META_ICC_NAME, picture.iccProfile.data(),
                                 picture.iccProfile.size());
    }
    return out;
}

void Write(const vips::VImage& image, FileFormat format, int depth, const std::string& path) {
    switch (format) {
    case FileFormat::Tiff:
        image.tiffsave(path.c_str(), vips::VImage::option()->set("resunit", VIPS_FOREIGN_TIFF_RESUNIT_INCH));
        break;
    case FileFormat::Png:
        image.pngsave(path.c_str(), vips::VImage::option()->set("bitdepth", depth));
        break;
    case FileFormat::Jpeg:
        image.jpegsave(path.c_str(), vips::VImage::option()->set("Q", kJpegQuality));
        break;
    }
}

// A new empty file beside `path`, keeping its extension (libvips picks the
// writer by it): ".name.XXXXXX.ext", made with the permissions of any new file.
std::string MakeTemporary(const std::string& path) {
    const fs::path target(path);
    const std::string stem = "." + target.stem().string() + ".";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char tag[16];
        std::snprintf(tag, sizeof tag, "%06x", random() & 0xFFFFFF);
        const std::string name = (target.parent_path() / (stem + tag + target.extension().string())).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST) {
            Fail(path, std::strerror(errno));
        }
    }
    Fail(path, "no free temporary name in its folder");
}

} // namespace

void SavePicture(const Picture& picture, const std::string& path, const SaveOptions& options) {
    StartVips();
    const FileFormat format = FormatOf(path);
    CheckFits(picture, format, path);
    CheckNotSource(path, options);
    const std::string temporary = MakeTemporary(path);
    try {
        Write(Stored(picture), format, picture.depth, temporary);
    } catch (const vips::VError& failure) {
        ::unlink(temporary.c_str());
        Fail(path, VipsMessage(failure));
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, std::strerror(error));
    }
}

} // namespace vhost::engine
