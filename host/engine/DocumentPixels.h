// What the engine hangs on a host document: its layers and what the file gave
// besides the colour (alpha, profile bytes), plus the states SuspendHistory
// keeps.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <vips/vips8>

#include "host/engine/LayerStack.h"

namespace vhost {

struct DocumentPixels {
    engine::LayerStack layers;
    std::optional<vips::VImage> alpha; // as the file stored it, never changed
    std::string iccProfile;            // bytes; empty without a profile
    std::string source;                // the file the document came from, if any
    // Layer stacks as they were when each open SuspendHistory began,
    // innermost last.
    std::vector<engine::LayerStack> saved;
};

} // namespace vhost
