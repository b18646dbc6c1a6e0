// Separable convolution of float images, for the engine's Gaussians.
//
// libvips' own float convolution reads every kernel entry through a table of
// offsets, one pixel at a time; a restoring recipe runs a dozen Gaussians
// over the whole image, and that loop was most of its time. Here both passes
// run along whole rows, so the compiler vectorises them, and one request does
// both passes, so no buffer is held between them.
#pragma once

#include <vector>

#include <vips/vips8>

namespace vhost::engine {

// `in` convolved with `kernel` along the rows, then along the columns. The
// kernel has an odd number of weights, centred; edges are extended by copying
// the border pixels. `in` must be float (any number of bands). Lazy.
vips::VImage ConvolveSeparable(const vips::VImage& in, const std::vector<float>& kernel);

} // namespace vhost::engine
