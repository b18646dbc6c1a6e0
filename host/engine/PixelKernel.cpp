#include "host/engine/PixelKernel.h"

#include <memory>
#include <stdexcept>

namespace vhost::engine {

namespace {

// What a mapped image keeps alive: its inputs (a null-terminated array, as
// libvips' start function expects) and the kernel.
struct MappedImage {
    std::vector<VipsImage*> inputs;
    RowKernel kernel;

    ~MappedImage() {
        for (VipsImage* image : inputs) {
            if (image != nullptr) {
                g_object_unref(image);
            }
        }
    }
};

void DestroyMappedImage(gpointer data) {
    delete static_cast<MappedImage*>(data);
}

int GenerateRows(VipsRegion* out, void* seq, void* /*a*/, void* b, gboolean* /*stop*/) {
    auto** regions = static_cast<VipsRegion**>(seq);
    const auto* mapped = static_cast<const MappedImage*>(b);
    const VipsRect* area = &out->valid;
    const size_t count = mapped->inputs.size() - 1;
    for (size_t i = 0; i < count; ++i) {
        if (vips_region_prepare(regions[i], area) != 0) {
            return -1;
        }
    }
    std::vector<const float*> rows(count);
    for (int y = area->top; y < area->top + area->height; ++y) {
        for (size_t i = 0; i < count; ++i) {
            rows[i] = reinterpret_cast<const float*>(VIPS_REGION_ADDR(regions[i], area->left, y));
        }
        auto* target = reinterpret_cast<float*>(VIPS_REGION_ADDR(out, area->left, y));
        mapped->kernel(rows.data(), target, area->width);
    }
    return 0;
}

void CheckInputs(const std::vector<vips::VImage>& inputs, int bands) {
    if (inputs.empty() || bands < 1) {
        throw std::invalid_argument("MapRows needs at least one input and one band");
    }
    for (const vips::VImage& image : inputs) {
        if (image.format() != VIPS_FORMAT_FLOAT || image.width() != inputs[0].width() ||
            image.height() != inputs[0].height()) {
            throw std::invalid_argument("MapRows inputs must be float images of one size");
        }
    }
}

} // namespace

vips::VImage MapRows(const std::vector<vips::VImage>& inputs, int bands, RowKernel kernel) {
    CheckInputs(inputs, bands);
    auto mapped = std::make_unique<MappedImage>();
    mapped->kernel = std::move(kernel);
    for (const vips::VImage& image : inputs) {
        VipsImage* raw = image.get_image();
        g_object_ref(raw);
        mapped->inputs.push_back(raw);
    }
    mapped->inputs.push_back(nullptr);

    VipsImage* out = vips_image_new();
    vips::VImage result(out); // adopts the new reference
    // Strips several lines high: a deep stack of blurs asks each layer for a
    // few lines more than it was asked for, and with strips one line high
    // those extra lines would cost more than the lines themselves.
    if (vips_image_pipeline_array(out, VIPS_DEMAND_STYLE_FATSTRIP, mapped->inputs.data()) != 0) {
        throw vips::VError();
    }
    out->Bands = bands;
    out->BandFmt = VIPS_FORMAT_FLOAT;
    MappedImage* state = mapped.release();
    g_object_set_data_full(G_OBJECT(out), "vhost-mapped-image", state, DestroyMappedImage);
    if (vips_image_generate(out, vips_start_many, GenerateRows, vips_stop_many, state->inputs.data(),
                            state) != 0) {
        throw vips::VError();
    }
    return result;
}

} // namespace vhost::engine
