#include "host/engine/Filters.h"

namespace vhost::engine {

vips::VImage Invert(const vips::VImage& in) {
    return in.linear(-1.0, 1.0);
}

} // namespace vhost::engine
