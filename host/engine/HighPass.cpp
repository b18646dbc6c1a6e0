#include <algorithm>

#include "host/engine/Filters.h"
#include "host/engine/PixelKernel.h"

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
    // The blur asks for the larger area of `in`, so it goes first: the rows
    // it made are then found again for the second input instead of being made
    // twice (which, round after round of a restoring recipe, would double).
    return MapRows({Gaussian(in, radius), in}, 3, KeepDetail);
}

} // namespace vhost::engine
