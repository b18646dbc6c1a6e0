// The pixel filters of the event vocabulary, each doing what the real host
// documents for its filter of that name (its user guide's pages on the Sharpen,
// Blur and Other filters). Every one takes and returns a lazy float RGB image
// on the 0..1 scale, of the same size, works on each channel alone, and throws
// EngineError(kInvalidParameters) for a parameter out of its range. Edges are
// extended by copying the border pixels. A radius is the sigma of the
// Gaussian, in pixels, as the host's Gaussian Blur takes it.
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

// Gaussian blur ("Blur > Gaussian Blur"): Gaussian(in, radius) after checking
// the radius; the weights sum to one, so a flat area stays as it is.
vips::VImage GaussianBlur(const vips::VImage& in, double radius);

// Unsharp mask ("Sharpen > Unsharp Mask"). d = in - Gaussian(in, radius) per
// channel. The threshold is a gate, as the host documents it: "a threshold of
// 4 affects all pixels that differ by a value of 4 or more, on a scale of 0 to
// 255". With t = threshold / 255 on the 0..1 scale (the same edge strength at
// 8 and 16 bits):
//   out = in                   where |d| < t
//   out = in + amount/100 x d  elsewhere, clipped to 0..1.
// Nothing is subtracted from a difference that passes the gate. amount 0
// returns the input value for value; threshold 0 sharpens every pixel.
// amount: 0..500 (%), radius: 0.1..250 (px), threshold: 0..255 (levels).
vips::VImage UnsharpMask(const vips::VImage& in, double amountPercent, double radius, int threshold);

// High pass ("Other > High Pass"): keeps the detail finer than the radius and
// suppresses the rest, in - Gaussian(in, radius) + 0.5, clipped to 0..1 (flat
// areas become mid-grey, so the layer blended in overlay, soft light or linear
// light changes nothing there). radius: 0.1..250 (px).
vips::VImage HighPass(const vips::VImage& in, double radius);

// Desaturate ("Image > Adjustments > Desaturate"): grey by Rec. 601 luma (0.299 R + 0.587 G + 0.114 B) in all three channels.
vips::VImage Desaturate(const vips::VImage& in);

// Invert ("Image > Adjustments > Invert"): 1 - value in every channel.
vips::VImage Invert(const vips::VImage& in);

} // namespace vhost::engine
