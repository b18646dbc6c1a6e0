// Compositing one layer over another with a blend mode and an opacity.
#pragma once

#include <vips/vips8>

#include "host/engine/BlendMode.h"

namespace vhost::engine {

// base and top: float RGB, 0..1, one size. opacity 0..1 (clamped to it).
// Per pixel the result is (1 - opacity) x base + opacity x B(base, top),
// clipped to 0..1, where B is the mode's function as the PDF (ISO 32000)
// defines it (normal, darken, lighten, multiply, screen, overlay, soft light,
// hard light, difference |base - top|, luminosity = SetLum(base, Lum(top))
// with ClipColor, Lum weights 0.3, 0.59, 0.11). The modes the PDF lacks are
// as the host's user guide describes them ("Blending mode descriptions"):
// linear light = 2 x top + base - 1, linear dodge (add) = base + top, linear
// burn = base + top - 1, each clipped to 0..1. Opacity 0 returns base and normal at opacity 1 returns top, value for
// value. Lazy: one pass when the result is evaluated.
vips::VImage Blend(const vips::VImage& base, const vips::VImage& top, BlendMode mode, double opacity);

} // namespace vhost::engine
