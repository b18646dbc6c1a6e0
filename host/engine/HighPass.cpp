#include <algorithm>

#include "host/engine/Filters.h"
#include "host/engine/PixelKernel.h"

namespace vhost::engine {

namespace {

void KeepDetail(const float* const* in, float* out, int pixels) {
    const float* source = in[0];
    const float* blurred = in[1];
    for (int i = 0; i < pixels * 3; ++i) {
        out[i] = std::clamp(source[i] - blurred[i] + 0.5f, 0.0f, 1.0f);
    }
}

} // namespace

vips::VImage HighPass(const vips::VImage& in, double radius) {
    CheckRadius(radius);
    return MapRows({in, Gaussian(in, radius)}, 3, KeepDetail);
}

} // namespace vhost::engine
