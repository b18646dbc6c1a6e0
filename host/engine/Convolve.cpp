#include "host/engine/Convolve.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <stdexcept>

namespace vhost::engine {

namespace {

struct Convolution {
    VipsImage* in = nullptr;
    std::vector<float> kernel;
    ~Convolution() {
        if (in != nullptr) {
            g_object_unref(in);
        }
    }
};

// What one worker thread keeps between requests: its region on the input and
// its scratch rows.
struct Worker {
    VipsRegion* input = nullptr;
    std::vector<float> padded;      // one input row with its side margins
    std::vector<float> across;      // the rows convolved along x, margins included
    std::vector<const float*> taps; // the rows each weight applies to
    ~Worker() {
        if (input != nullptr) {
            g_object_unref(input);
        }
    }
};

void* StartWorker(VipsImage* /*out*/, void* a, void* /*b*/) {
    auto worker = std::make_unique<Worker>();
    worker->input = vips_region_new(static_cast<VipsImage*>(a));
    return worker.release();
}

int StopWorker(void* seq, void* /*a*/, void* /*b*/) {
    const std::unique_ptr<Worker> owned(static_cast<Worker*>(seq));
    return 0;
}

// out[j] = sum over i of kernel[i] * rows[i][j], for j < count: one row of
// either pass (along x the rows are the padded row shifted by a pixel each).
void WeightedSum(const std::vector<float>& kernel, const float* const* rows, float* out, size_t count) {
    std::fill(out, out + count, 0.0f);
    for (size_t i = 0; i < kernel.size(); ++i) {
        const float weight = kernel[i];
        const float* from = rows[i];
        for (size_t j = 0; j < count; ++j) {
            out[j] += weight * from[j];
        }
    }
}

// Row `y` of the input (clamped to the image), columns left - r .. right + r
// (clamped likewise), into `padded`.
void PadRow(const Worker& worker, VipsImage* in, int y, int left, int width, int r,
            std::vector<float>& padded) {
    const size_t bands = size_t(in->Bands);
    const VipsRect& held = worker.input->valid;
    const auto* row = reinterpret_cast<const float*>(
        VIPS_REGION_ADDR(worker.input, held.left, std::clamp(y, 0, in->Ysize - 1)));
    // The columns the region holds, where they fall in `padded`...
    const int first = std::max(left - r, held.left);
    const int end = std::min(left + width + r, VIPS_RECT_RIGHT(&held));
    float* to = padded.data();
    std::copy(row + size_t(first - held.left) * bands, row + size_t(end - held.left) * bands,
              to + size_t(first - (left - r)) * bands);
    // ...and copies of the border pixels beyond them.
    for (int x = left - r; x < first; ++x) {
        std::copy_n(to + size_t(first - (left - r)) * bands, bands, to + size_t(x - (left - r)) * bands);
    }
    for (int x = end; x < left + width + r; ++x) {
        std::copy_n(to + size_t(end - 1 - (left - r)) * bands, bands, to + size_t(x - (left - r)) * bands);
    }
}

int Convolve(VipsRegion* out, Worker& worker, const Convolution& job) {
    VipsImage* in = job.in;
    const VipsRect& want = out->valid;
    const int r = int(job.kernel.size() / 2);
    const size_t bands = size_t(in->Bands);
    VipsRect need{want.left - r, want.top - r, want.width + 2 * r, want.height + 2 * r};
    VipsRect whole{0, 0, in->Xsize, in->Ysize};
    vips_rect_intersectrect(&need, &whole, &need);
    if (vips_region_prepare(worker.input, &need) != 0) {
        return -1;
    }
    const size_t lineValues = size_t(want.width) * bands;
    const int lines = want.height + 2 * r;
    worker.padded.resize(size_t(want.width + 2 * r) * bands);
    worker.across.resize(lineValues * size_t(lines));
    worker.taps.resize(job.kernel.size());
    for (size_t i = 0; i < worker.taps.size(); ++i) {
        worker.taps[i] = worker.padded.data() + i * bands;
    }
    for (int line = 0; line < lines; ++line) {
        PadRow(worker, in, want.top - r + line, want.left, want.width, r, worker.padded);
        WeightedSum(job.kernel, worker.taps.data(), worker.across.data() + lineValues * size_t(line),
                    lineValues);
    }
    for (int y = 0; y < want.height; ++y) {
        for (size_t i = 0; i < worker.taps.size(); ++i) {
            worker.taps[i] = worker.across.data() + lineValues * (size_t(y) + i);
        }
        auto* row = reinterpret_cast<float*>(VIPS_REGION_ADDR(out, want.left, want.top + y));
        WeightedSum(job.kernel, worker.taps.data(), row, lineValues);
    }
    return 0;
}

// libvips calls this from C: nothing may be thrown through it.
int Generate(VipsRegion* out, void* seq, void* /*a*/, void* b, gboolean* /*stop*/) {
    try {
        return Convolve(out, *static_cast<Worker*>(seq), *static_cast<const Convolution*>(b));
    } catch (const std::exception& failure) {
        vips_error("ConvolveSeparable", "%s", failure.what());
        return -1;
    }
}

void DestroyConvolution(gpointer data) {
    const std::unique_ptr<Convolution> owned(static_cast<Convolution*>(data));
}

} // namespace

vips::VImage ConvolveSeparable(const vips::VImage& in, const std::vector<float>& kernel) {
    if (in.format() != VIPS_FORMAT_FLOAT || kernel.size() % 2 == 0) {
        throw std::invalid_argument("ConvolveSeparable takes a float image and an odd kernel");
    }
    auto job = std::make_unique<Convolution>();
    job->in = in.get_image();
    g_object_ref(job->in);
    job->kernel = kernel;

    VipsImage* out = vips_image_new();
    vips::VImage result(out); // adopts the new reference
    if (vips_image_pipelinev(out, VIPS_DEMAND_STYLE_FATSTRIP, job->in, nullptr) != 0) {
        throw vips::VError();
    }
    Convolution* kept = job.release();
    g_object_set_data_full(G_OBJECT(out), "vhost-convolution", kept, DestroyConvolution);
    if (vips_image_generate(out, StartWorker, Generate, StopWorker, kept->in, kept) != 0) {
        throw vips::VError();
    }
    return result;
}

} // namespace vhost::engine
