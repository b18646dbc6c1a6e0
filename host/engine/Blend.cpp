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

template <float (*Mode)(float, float)>
RowKernel SeparableKernel(float opacity) {
    return [opacity](const float* const* in, float* out, int pixels) {
        const float* base = in[0];
        const float* top = in[1];
        const float keep = 1 - opacity;
        for (int i = 0; i < pixels * 3; ++i) {
            out[i] = Clip(keep * base[i] + opacity * Mode(base[i], top[i]));
        }
    };
}

// ---- luminosity: SetLum(backdrop, Lum(source)) -----------------------------------

float Lum(const float* c) {
    return 0.3f * c[0] + 0.59f * c[1] + 0.11f * c[2];
}

void ClipColor(float* c) {
    const float l = Lum(c);
    const float n = std::min({c[0], c[1], c[2]});
    const float x = std::max({c[0], c[1], c[2]});
    if (n < 0 && l - n > 0) {
        for (int k = 0; k < 3; ++k) {
            c[k] = l + (c[k] - l) * l / (l - n);
        }
    }
    if (x > 1 && x - l > 0) {
        for (int k = 0; k < 3; ++k) {
            c[k] = l + (c[k] - l) * (1 - l) / (x - l);
        }
    }
}

RowKernel LuminosityKernel(float opacity) {
    return [opacity](const float* const* in, float* out, int pixels) {
        const float keep = 1 - opacity;
        for (int p = 0; p < pixels; ++p) {
            const float* base = in[0] + 3 * p;
            const float* top = in[1] + 3 * p;
            const float shift = Lum(top) - Lum(base);
            float c[3] = {base[0] + shift, base[1] + shift, base[2] + shift};
            ClipColor(c);
            for (int k = 0; k < 3; ++k) {
                out[3 * p + k] = Clip(keep * base[k] + opacity * c[k]);
            }
        }
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
