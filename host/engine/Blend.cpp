#include "host/engine/Blend.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "host/engine/PixelKernel.h"

namespace vhost::engine {

namespace {

float Clip(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

// ---- separable modes: B(backdrop, source) per channel ------------------------

float Normal(float, float cs) {
    return cs;
}
float Darken(float cb, float cs) {
    return std::min(cb, cs);
}
float Lighten(float cb, float cs) {
    return std::max(cb, cs);
}
float Multiply(float cb, float cs) {
    return cb * cs;
}
float Screen(float cb, float cs) {
    return cb + cs - cb * cs;
}

float HardLight(float cb, float cs) {
    return cs <= 0.5f ? Multiply(cb, 2 * cs) : Screen(cb, 2 * cs - 1);
}

float Overlay(float cb, float cs) {
    return HardLight(cs, cb);
}

float SoftLight(float cb, float cs) {
    if (cs <= 0.5f) {
        return cb - (1 - 2 * cs) * cb * (1 - cb);
    }
    const float d = cb <= 0.25f ? ((16 * cb - 12) * cb + 4) * cb : std::sqrt(cb);
    return cb + (2 * cs - 1) * (d - cb);
}

float LinearLight(float cb, float cs) {
    return Clip(2 * cs + cb - 1);
}
float Difference(float cb, float cs) {
    return std::fabs(cb - cs);
}
float LinearDodge(float cb, float cs) {
    return Clip(cb + cs);
}
float LinearBurn(float cb, float cs) {
    return Clip(cb + cs - 1);
}

template <float (*Mode)(float, float)>
void SeparableRow(const float* __restrict base, const float* __restrict top, float* __restrict out,
                  int values, float opacity) {
    const float keep = 1 - opacity;
    for (int i = 0; i < values; ++i) {
        out[i] = Clip(keep * base[i] + opacity * Mode(base[i], top[i]));
    }
}

template <float (*Mode)(float, float)>
RowKernel SeparableKernel(float opacity) {
    return [opacity](const float* const* in, float* out, int pixels) {
        SeparableRow<Mode>(in[0], in[1], out, pixels * 3, opacity);
    };
}

// ---- luminosity: SetLum(backdrop, Lum(source)) -----------------------------------

float Lum(float r, float g, float b) {
    return 0.3f * r + 0.59f * g + 0.11f * b;
}

// SetLum(backdrop, Lum(source)) with PDF's ClipColor, for one pixel. ClipColor
// pulls the lowest channel up to 0, then scales the result towards the
// luminance again so the highest one (as it was) comes down to 1. Both steps
// scale the colour's distance from its luminance, so one product of the two
// scales does both. Branch-free (both quotients are computed, then chosen) so
// that the loop vectorises; written as c + (c - l)(scale - 1) so that a colour
// in range comes out exactly as it went in.
void SetLuminance(const float* base, const float* top, float* out) {
    const float shift = Lum(top[0], top[1], top[2]) - Lum(base[0], base[1], base[2]);
    const float r = base[0] + shift;
    const float g = base[1] + shift;
    const float b = base[2] + shift;
    const float l = Lum(r, g, b);
    const float n = std::min(std::min(r, g), b);
    const float x = std::max(std::max(r, g), b);
    constexpr float kTiny = 1e-30f;
    const float toZero = l / std::max(l - n, kTiny);
    const float toOne = (1 - l) / std::max(x - l, kTiny);
    // A grey below 0 or above 1 (l - n or x - l zero) has no colour to scale.
    const float lowIfColour = n < 0 ? toZero : 1.0f;
    const float low = l - n > 0 ? lowIfColour : 1.0f;
    const float highIfColour = x > 1 ? toOne : 1.0f;
    const float high = x - l > 0 ? highIfColour : 1.0f;
    const float grow = low * high - 1;
    out[0] = r + (r - l) * grow;
    out[1] = g + (g - l) * grow;
    out[2] = b + (b - l) * grow;
}

void LuminosityRow(const float* __restrict base, const float* __restrict top, float* __restrict out,
                   int pixels, float opacity) {
    const float keep = 1 - opacity;
    for (int p = 0; p < pixels; ++p) {
        const float* b = base + 3 * p;
        float* o = out + 3 * p;
        float c[3];
        SetLuminance(b, top + 3 * p, c);
        o[0] = Clip(keep * b[0] + opacity * c[0]);
        o[1] = Clip(keep * b[1] + opacity * c[1]);
        o[2] = Clip(keep * b[2] + opacity * c[2]);
    }
}

RowKernel LuminosityKernel(float opacity) {
    return [opacity](const float* const* in, float* out, int pixels) {
        LuminosityRow(in[0], in[1], out, pixels, opacity);
    };
}

RowKernel KernelFor(BlendMode mode, float opacity) {
    switch (mode) {
    case BlendMode::Normal:
        return SeparableKernel<Normal>(opacity);
    case BlendMode::Darken:
        return SeparableKernel<Darken>(opacity);
    case BlendMode::Lighten:
        return SeparableKernel<Lighten>(opacity);
    case BlendMode::Multiply:
        return SeparableKernel<Multiply>(opacity);
    case BlendMode::Screen:
        return SeparableKernel<Screen>(opacity);
    case BlendMode::Overlay:
        return SeparableKernel<Overlay>(opacity);
    case BlendMode::SoftLight:
        return SeparableKernel<SoftLight>(opacity);
    case BlendMode::HardLight:
        return SeparableKernel<HardLight>(opacity);
    case BlendMode::LinearLight:
        return SeparableKernel<LinearLight>(opacity);
    case BlendMode::Luminosity:
        return LuminosityKernel(opacity);
    case BlendMode::Difference:
        return SeparableKernel<Difference>(opacity);
    case BlendMode::LinearDodge:
        return SeparableKernel<LinearDodge>(opacity);
    case BlendMode::LinearBurn:
        return SeparableKernel<LinearBurn>(opacity);
    }
    throw std::invalid_argument("unknown blend mode");
}

} // namespace

vips::VImage Blend(const vips::VImage& base, const vips::VImage& top, BlendMode mode, double opacity) {
    if (base.bands() != 3 || top.bands() != 3) {
        throw std::invalid_argument("Blend works on RGB layers");
    }
    const auto alpha = static_cast<float>(std::clamp(opacity, 0.0, 1.0));
    return MapRows({base, top}, 3, KernelFor(mode, alpha));
}

} // namespace vhost::engine
