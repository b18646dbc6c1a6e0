#include <sstream>

#include "host/engine/EngineError.h"
#include "host/engine/Filters.h"

namespace vhost::engine {

namespace {

// Kernel entries below this share of the peak are dropped.
constexpr double kMinAmplitude = 0.01;

} // namespace

void CheckRadius(double radius) {
    if (!(radius >= kMinRadius && radius <= kMaxRadius)) {
        std::ostringstream message;
        message << "radius " << radius << " px is outside " << kMinRadius << " to " << kMaxRadius << " px";
        throw EngineError(code::kInvalidParameters, message.str());
    }
}

vips::VImage Gaussian(const vips::VImage& in, double radius) {
    return in.gaussblur(
        radius,
        vips::VImage::option()->set("min_ampl", kMinAmplitude)->set("precision", VIPS_PRECISION_FLOAT));
}

vips::VImage GaussianBlur(const vips::VImage& in, double radius) {
    CheckRadius(radius);
    return Gaussian(in, radius);
}

} // namespace vhost::engine
