// The picture every Effect of the manual is shown on, and the part of it
// shown: a crop at 100 %, the same place for every Effect, with room around
// it for the widest radius of the recipes.
#pragma once

#include <string>

#include "host/manual/RgbPicture.h"

namespace vhost::manual {

struct CropArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ManualSample {
    RgbPicture picture;
    CropArea crop;           // inside the picture
    std::string description; // what the picture is, for the manual's reader
};

// The sample of this manual. The one place that chooses it: a test scene
// drawn here until the bundled sample image is part of the product.
ManualSample LoadManualSample();

// The test scene: 360 x 240 pixels of sky, a building with a grid of windows,
// a sign with small print, a fence, a ball, grass and a smooth skin-toned
// patch, slightly soft and slightly noisy as a camera leaves it. The same
// pixels every time.
ManualSample DrawTestScene();

} // namespace vhost::manual
