// Random access over an image that can only be read once, top to bottom (a
// file decoded as it is read). Rows are read from the source strictly in
// order, as far down as the deepest row anyone has asked for, and kept, so any
// row can be asked for again, at any time, by any thread. Decoding thus
// overlaps the work on the rows already read. The decoded image is kept once:
// in memory, or, from 64 MB on, in a scratch file.
#pragma once

#include <vips/vips8>

namespace vhost::engine {

// A lazy image with the source's size, format and metadata.
vips::VImage ReadInOrder(const vips::VImage& source);

} // namespace vhost::engine
