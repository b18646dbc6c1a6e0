#include "tests/cli/CliSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "resources/images/Chart.h"

namespace vhost::cli::test {

namespace fs = std::filesystem;

Folder::Folder() {
    std::string pattern = (fs::temp_directory_path() / "vellicor-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    path_ = pattern;
}

Folder::~Folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::vector<std::string> Folder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Finished Vellicor(const std::vector<std::string>& args, const Folder& scratch) {
    std::vector<std::string> words = {VLH_VELLICOR_PATH};
    words.insert(words.end(), args.begin(), args.end());
    return e2e::RunProgram(std::move(words), scratch.Path());
}

std::string SrgbProfile() {
    VipsBlob* blob = nullptr;
    if (vips_profile_load("srgb", &blob, nullptr) != 0) {
        throw vips::VError();
    }
    size_t size = 0;
    const void* data = vips_blob_get(blob, &size);
    std::string bytes(static_cast<const char*>(data), size);
    vips_area_unref(VIPS_AREA(blob));
    return bytes;
}

std::string ProfileOf(const vips::VImage& image) {
    if (image.get_typeof(VIPS_META_ICC_NAME) == 0) {
        return {};
    }
    size_t size = 0;
    const void* data = image.get_blob(VIPS_META_ICC_NAME, &size);
    return std::string(static_cast<const char*>(data), size);
}

vips::VImage TestPicture(int depth, bool alpha, int width, int height) {
    static const vips::VImage chart = vtools::chart::RenderChart();
    const vtools::chart::Box& d = vtools::chart::kDetailArea;
    const int left = static_cast<int>((d.left + d.right) / 2) - width / 2;
    const int top = static_cast<int>((d.top + d.bottom) / 2) - height / 2;
    vips::VImage rgb = chart.extract_area(left, top, width, height);
    if (depth == 8) {
        rgb = (rgb / 257.0 + 0.5).cast(VIPS_FORMAT_UCHAR);
    }
    vips::VImage out = rgb;
    if (alpha) {
        // A ramp, so that every value is kept, not just full opacity.
        const double top_ = depth == 8 ? 255.0 : 65535.0;
        const vips::VImage ramp =
            vips::VImage::xyz(width, height).extract_band(0).linear(top_ / (width - 1), 0.0);
        out = rgb.bandjoin(ramp.cast(rgb.format()));
    }
    const double perMillimetre = 240.0 / 25.4;
    out = out.copy(vips::VImage::option()
                       ->set("interpretation",
                             depth == 8 ? VIPS_INTERPRETATION_sRGB : VIPS_INTERPRETATION_RGB16)
                       ->set("xres", perMillimetre)
                       ->set("yres", perMillimetre))
              .copy_memory();
    const std::string profile = SrgbProfile();
    vips_image_set_blob_copy(out.get_image(), VIPS_META_ICC_NAME, profile.data(), profile.size());
    return out;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<double> Values(const vips::VImage& image) {
    const vips::VImage d = image.cast(VIPS_FORMAT_DOUBLE).copy_memory();
    size_t size = 0;
    const auto* data = static_cast<const double*>(d.write_to_memory(&size));
    std::vector<double> values(data, data + size / sizeof(double));
    g_free(const_cast<double*>(data));
    return values;
}

} // namespace vhost::cli::test
