#include "host/engine/Filters.h"

namespace vhost::engine {

vips::VImage Desaturate(const vips::VImage& in) {
    // Rec. 601 luma into each of the three channels.
    const vips::VImage luma = vips::VImage::new_matrixv(3, 3,                //
                                                        0.299, 0.587, 0.114, //
                                                        0.299, 0.587, 0.114, //
                                                        0.299, 0.587, 0.114);
    return in.recomb(luma);
}

} // namespace vhost::engine
