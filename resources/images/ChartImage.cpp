// The chart as a camera would have recorded it, and the file.
#include <cctype>
#include <vector>

#include "resources/images/Chart.h"

namespace vtools::chart {

namespace {

constexpr double kSoftness = 0.6;      // Gaussian sigma of the optics, pixels
constexpr double kLumaNoise = 0.0045;  // standard deviation, 0..1 scale
constexpr double kColourNoise = 0.002; // per channel, on top
constexpr double kMillimetresPerInch = 25.4;
constexpr uint32_t kNoiseSeed = 0x5EEDu;

// An image over the values, which must outlive every use of it.
vips::VImage FloatRgb(const std::vector<float>& values, int width, int height) {
    return vips::VImage::new_from_memory(const_cast<float*>(values.data()), values.size() * sizeof(float),
                                         width, height, 3, VIPS_FORMAT_FLOAT);
}

std::vector<float> Noise(int width, int height) {
    Dice dice(kNoiseSeed);
    std::vector<float> noise(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < noise.size(); i += 3) {
        const double luma = kLumaNoise * dice.Normal();
        for (size_t k = 0; k < 3; ++k) {
            noise[i + k] = static_cast<float>(luma + kColourNoise * dice.Normal());
        }
    }
    return noise;
}

void EmbedSrgbProfile(vips::VImage& image) {
    VipsBlob* profile = nullptr;
    if (vips_profile_load("srgb", &profile, nullptr) != 0) {
        throw vips::VError();
    }
    size_t size = 0;
    const void* data = vips_blob_get(profile, &size);
    vips_image_set_blob_copy(image.get_image(), VIPS_META_ICC_NAME, data, size);
    vips_area_unref(VIPS_AREA(profile));
}

} // namespace

vips::VImage RenderChart() {
    const Canvas scene = DrawScene();
    const vips::VImage sharp = FloatRgb(scene.Values(), scene.Width(), scene.Height());
    const vips::VImage soft = sharp.gaussblur(
        kSoftness, vips::VImage::option()->set("min_ampl", 0.005)->set("precision", VIPS_PRECISION_FLOAT));
    const std::vector<float> noise = Noise(scene.Width(), scene.Height());
    const vips::VImage noisy = soft + FloatRgb(noise, scene.Width(), scene.Height());
    const double perMillimetre = kChartResolution / kMillimetresPerInch;
    // Rounded; the cast clips what the noise took below 0 or above 1.
    vips::VImage out = noisy.linear(65535.0, 0.5)
                           .cast(VIPS_FORMAT_USHORT)
                           .copy(vips::VImage::option()
                                     ->set("interpretation", VIPS_INTERPRETATION_RGB16)
                                     ->set("xres", perMillimetre)
                                     ->set("yres", perMillimetre));
    // Computed here, while the scene and the noise are alive.
    out = out.copy_memory();
    EmbedSrgbProfile(out);
    return out;
}

void WriteChart(const std::string& path) {
    const vips::VImage chart = RenderChart();
    const std::string lower = [&] {
        std::string s = path;
        for (char& ch : s) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        return s;
    }();
    if (lower.ends_with(".tif") || lower.ends_with(".tiff")) {
        chart.tiffsave(path.c_str(), vips::VImage::option()
                                         ->set("compression", VIPS_FOREIGN_TIFF_COMPRESSION_DEFLATE)
                                         ->set("predictor", VIPS_FOREIGN_TIFF_PREDICTOR_HORIZONTAL)
                                         ->set("resunit", VIPS_FOREIGN_TIFF_RESUNIT_INCH));
    } else {
        chart.write_to_file(path.c_str());
    }
}

} // namespace vtools::chart
