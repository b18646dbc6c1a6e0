// The picture every Effect of the manual is shown on, and the part of it
// shown: a crop at 100 %, the same place for every Effect, well inside the
// picture so that the widest radius of the recipes still sees real
// surroundings.
#pragma once

#include <string>

#include <vips/vips8>

namespace vhost::manual {

struct CropArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ManualSample {
    vips::VImage image;      // RGB of 8 or 16 bits per channel, as the engine opens files
    CropArea crop;           // inside the image
    std::string description; // what the picture is, for the manual's reader
};

// The sample of this manual, the one place that chooses it: the project's
// default image (the test chart that `vellicor run` and the contact sheets
// use), drawn in memory, with the crop on small print beside a dark edge.
// Throws ManualError when it cannot be drawn.
ManualSample LoadManualSample();

} // namespace vhost::manual
