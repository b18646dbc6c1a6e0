// A bounded cache of a lazy image's rows.
//
// A layer stack is played as one lazy pipeline, and a blur asks the layer
// beneath it for a few more rows and columns than it was asked for. Down a
// deep stack of blurs (a restoring recipe's rounds) those margins add up, and
// the layers at the bottom would be made over and over, for every strip and
// at every level. Read through this cache, a layer is made once, a chunk of
// whole rows at a time (in narrow bands of columns, so the buffers of the
// levels below stay small), and the requests below start again from a
// chunk's height.
#pragma once

#include <vips/vips8>

namespace vhost::engine {

// The same pixels as `in`, made a chunk of rows at a time and kept while they
// are among the latest made: a few chunks at first, more for a layer that is
// read far apart (a layer read at several depths of a deep stack), up to a
// bound. A request for rows already dropped is made again from `in`, for that
// request alone. Safe to read from libvips' worker threads at once: a chunk
// being made by one thread is waited for by the others, never made twice at
// the same time.
vips::VImage CacheRows(const vips::VImage& in);

} // namespace vhost::engine
