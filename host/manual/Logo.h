// The product's logo for the manual's cover: the about box's picture,
// embedded at build time from resources/about and decoded with GdkPixbuf.
#pragma once

#include "host/manual/RgbPicture.h"

namespace vhost::manual {

// Throws ManualError when the embedded picture cannot be decoded.
RgbPicture LoadLogo();

} // namespace vhost::manual
