// Lazy per-pixel operations over float images, for the arithmetic libvips does
// not have as one operation (blend modes, a thresholded unsharp mask). The
// result is a libvips image like any other: nothing is computed until its
// pixels are asked for, and then one pass over the inputs does the whole work.
#pragma once

#include <functional>
#include <vector>

#include <vips/vips8>

namespace vhost::engine {

// One row of work: in[i] points at `pixels` pixels of input i (its bands
// interleaved), out at `pixels` pixels of the result. Called from libvips'
// worker threads at once, so it must only read shared state. It must not throw.
using RowKernel = std::function<void(const float* const* in, float* out, int pixels)>;

// A lazy image of `bands` float bands whose rows are made by `kernel` from the
// same rows of `inputs`. Every input must be float and all must have the same
// size; the result takes its size and metadata from the first. Throws
// std::invalid_argument for mismatched inputs, vips::VError when libvips
// refuses.
vips::VImage MapRows(const std::vector<vips::VImage>& inputs, int bands, RowKernel kernel);

} // namespace vhost::engine
