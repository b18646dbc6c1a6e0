// Facts about an image file that libvips does not report, read from the file's
// own structure. Files are treated as hostile: reads stop at the end of the
// file and at the first inconsistency.
#pragma once

#include <string>

namespace vhost::engine {

// True when the PNG file holds a physical resolution (a pHYs chunk before the
// image data). False for a file without one, or one that is not a PNG.
bool PngHasResolution(const std::string& path);

// True when the first image of the TIFF file is stored with a colour palette
// (photometric interpretation 3). False otherwise, or for a file that is not a
// TIFF (classic or BigTIFF).
bool TiffIsIndexed(const std::string& path);

} // namespace vhost::engine
