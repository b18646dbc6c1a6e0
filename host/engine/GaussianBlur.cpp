#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "host/engine/Convolve.h"
#include "host/engine/EngineError.h"
#include "host/engine/Filters.h"
#include "host/engine/RowCache.h"

namespace vhost::engine {

namespace {

// Kernel entries below this share of the peak are dropped...
constexpr double kMinAmplitude = 0.01;
// ...except the nearest neighbours, which a narrow Gaussian (sigma below 0.33)
// keeps down to this share: without them a radius of 0.3 would blur nothing.
constexpr double kSmallestAmplitude = 1e-6;

// From this sigma on, the kernel is approximated by layered boxes, whose cost
// does not grow with the radius: an exact sigma of 60 px takes twenty times as
// long. The approximation stays within 0.2 % of full scale away from the
// borders, and such wide blurs serve gentle local-contrast and high-pass work.
constexpr double kApproximateFrom = 20.0;

double CutOff(double sigma) {
    const double neighbour = std::exp(-1.0 / (2.0 * sigma * sigma));
    return std::clamp(neighbour / 2.0, kSmallestAmplitude, kMinAmplitude);
}

// libvips' Gaussian mask, cut off as above, as weights that sum to one.
std::vector<float> GaussianWeights(double radius) {
    const vips::VImage mask = vips::VImage::gaussmat(
        radius, CutOff(radius),
        vips::VImage::option()->set("separable", true)->set("precision", VIPS_PRECISION_FLOAT));
    const double scale = vips_image_get_scale(mask.get_image());
    std::vector<float> weights(size_t(mask.width()));
    for (int i = 0; i < mask.width(); ++i) {
        weights[size_t(i)] = static_cast<float>(mask.getpoint(i, 0)[0] / scale);
    }
    return weights;
}

} // namespace

void CheckRadius(double radius) {
    if (!(radius >= kMinRadius && radius <= kMaxRadius)) {
        std::ostringstream message;
        message << "radius " << radius << " px is outside " << kMinRadius << " to " << kMaxRadius << " px";
        throw EngineError(code::kInvalidParameters, message.str());
    }
}

vips::VImage Gaussian(const vips::VImage& in, double radius) {
    if (radius >= kApproximateFrom) {
        return in.gaussblur(radius, vips::VImage::option()
                                        ->set("min_ampl", CutOff(radius))
                                        ->set("precision", VIPS_PRECISION_APPROXIMATE));
    }
    return ConvolveSeparable(in, GaussianWeights(radius));
}

vips::VImage GaussianBlur(const vips::VImage& in, double radius) {
    CheckRadius(radius);
    // A blurred layer is often read by many above it (a restoring recipe's
    // rounds read one at every depth): it is made once.
    return CacheRows(Gaussian(in, radius));
}

} // namespace vhost::engine
