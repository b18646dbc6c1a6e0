// What an Effect does to a document's layers, worked out from its recorded
// events as the host's event engine would carry them out (duplicate, set,
// select, merge, flatten), on a document of one layer. Lets the tests state
// what each plug-in's recipes must leave behind without running pixels.
#pragma once

#include <string>
#include <vector>

#include "actionsets/ActionSet.h"

namespace vlh::test {

struct LayerState {
    std::string name;
    std::string mode = "Nrml";
    double opacity = 100;
};

struct LayerOutcome {
    std::vector<LayerState> layers;       // bottom first; the document's own layer is layers[0]
    std::vector<std::string> mergedModes; // blend mode of each layer merged down, in order
    std::string fault;                    // empty when every event applied
};

LayerOutcome SimulateLayers(const Effect& effect);

// The radius of the Effect's first unsharp mask or high pass, or -1.
double FirstRadius(const Effect& effect);

// The Effect's events with everything recorded for them (names, keys, types,
// values), without the Effect's name: equal for equal recipes.
std::string RecipeSignature(const Effect& effect);

} // namespace vlh::test
