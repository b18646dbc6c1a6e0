#include <algorithm>
#include <cmath>
#include <sstream>

#include "host/engine/EngineError.h"
#include "host/engine/Filters.h"
#include "host/engine/PixelKernel.h"
#include "host/engine/RowCache.h"

namespace vhost::engine {

namespace {

void CheckAmountAndThreshold(double amountPercent, int threshold) {
    std::ostringstream message;
    if (!(amountPercent >= 0 && amountPercent <= kMaxAmountPercent)) {
        message << "amount " << amountPercent << " % is outside 0 to " << kMaxAmountPercent << " %";
    } else if (threshold < 0 || threshold > kMaxThreshold) {
        message << "threshold " << threshold << " is outside 0 to " << kMaxThreshold << " levels";
    } else {
        return;
    }
    throw EngineError(code::kInvalidParameters, message.str());
}

// The threshold is a gate: a difference below it leaves the value as it is,
// any other gets the full amount. Written branch-free so the loop vectorises.
RowKernel SharpenKernel(float amount, float threshold) {
    return [amount, threshold](const float* const* in, float* out, int pixels) {
        const float* source = in[0];
        const float* blurred = in[1];
        for (int i = 0; i < pixels * 3; ++i) {
            const float d = source[i] - blurred[i];
            const float gain = std::fabs(d) < threshold ? 0.0f : amount;
            out[i] = std::clamp(source[i] + gain * d, 0.0f, 1.0f);
        }
    };
}

} // namespace

vips::VImage UnsharpMask(const vips::VImage& in, double amountPercent, double radius, int threshold) {
    CheckAmountAndThreshold(amountPercent, threshold);
    CheckRadius(radius);
    const auto amount = static_cast<float>(amountPercent / 100.0);
    const auto t = static_cast<float>(threshold / 255.0);
    const vips::VImage source = CacheRows(in);
    return MapRows({source, Gaussian(source, radius)}, 3, SharpenKernel(amount, t));
}

} // namespace vhost::engine
