// The pixel filters of the event vocabulary. Every one takes and returns a
// lazy float RGB image on the 0..1 scale, of the same size, and throws
// EngineError(kInvalidParameters) for a parameter out of its range. Edges are
// extended by copying the border pixels.
#pragma once

#include <vips/vips8>

namespace vhost::engine {

// Radius range of the Gaussian-based filters, in pixels.
constexpr double kMinRadius = 0.1;
constexpr double kMaxRadius = 250.0;
// Unsharp-mask amount range, in percent, and threshold range, in levels.
constexpr double kMaxAmountPercent = 500.0;
constexpr int kMaxThreshold = 255;

// Throws EngineError(kInvalidParameters) unless radius is within
// kMinRadius..kMaxRadius.
void CheckRadius(double radius);

// Gaussian blur of sigma = radius, with a kernel cut off only where it falls
// below 1 % of its peak (libvips' default cut-off is coarser). A narrow
// Gaussian keeps its nearest neighbours even below 1 % (down to 1e-6), so a
// radius of 0.3 px still blurs, and sharpens, a little. From a radius of
// 20 px on, the Gaussian is approximated by layered box filters (within 0.2 %
// of full scale away from the borders), whose cost does not grow with the
// radius.
vips::VImage Gaussian(const vips::VImage& in, double radius);

// GaussianBlur: Gaussian(in, radius) after checking the radius.
vips::VImage GaussianBlur(const vips::VImage& in, double radius);

// Unsharp mask. d = in - Gaussian(in, radius) per channel; the threshold
// t = threshold / 255 on the 0..1 scale (the same edge strength at 8 and 16
// bits) is subtracted from |d|:
//   out = in + amount/100 x sign(d) x max(|d| - t, 0), clipped to 0..1.
// So only a difference above the threshold sharpens, and the effect grows
// smoothly from zero there instead of switching on at full strength (which
// leaves visible steps at the threshold). amount 0 or threshold 255 returns the
// input value for value. amount: 0..500 (%), radius: 0.1..250 (px),
// threshold: 0..255 (levels).
vips::VImage UnsharpMask(const vips::VImage& in, double amountPercent, double radius, int threshold);

// High pass: in - Gaussian(in, radius) + 0.5, clipped to 0..1 (flat areas
// become mid-grey). radius: 0.1..250 (px).
vips::VImage HighPass(const vips::VImage& in, double radius);

// Grey by Rec. 601 luma (0.299 R + 0.587 G + 0.114 B) in all three channels.
vips::VImage Desaturate(const vips::VImage& in);

// 1 - value in every channel.
vips::VImage Invert(const vips::VImage& in);

} // namespace vhost::engine
