#include <algorithm>

#include "host/engine/Filters.h"
#include "host/engine/PixelKernel.h"
#include "host/engine/RowCache.h"

namespace vhost::engine {

namespace {

void KeepDetail(const float* const* in, float* out, int pixels) {
    const float* blurred = in[0];
    const float* source = in[1];
    for (int i = 0; i < pixels * 3; ++i) {
        out[i] = std::clamp(source[i] - blurred[i] + 0.5f, 0.0f, 1.0f);
    }
}

} // namespace

vips::VImage HighPass(const vips::VImage& in, double radius) {
    CheckRadius(radius);
    // Both reads go through one cache, so `in` is made once for the two.
    const vips::VImage source = CacheRows(in);
    return MapRows({Gaussian(source, radius), source}, 3, KeepDetail);
}

} // namespace vhost::engine
