// What an Effect does, in words, worked out from its recorded events: a
// paragraph that tells the recipe, one line per event with its parameters,
// and what the document's layers are afterwards. Texts are plain UTF-8 (not
// markup); names are the module's 8-bit names taken as ISO 8859-1.
#pragma once

#include <string>
#include <vector>

#include "actionsets/ActionSet.h"

namespace vhost::manual {

struct StepLine {
    std::string title;      // "Unsharp mask"
    std::string parameters; // "amount 140 %, radius 0.5 px, threshold 2 levels"; may be empty
};

// A layer the Effect leaves above the layer it ran on.
struct LayerLeft {
    std::string name;
    std::string mode; // in words: "soft light"
    double opacity = 100;
};

struct EffectWords {
    std::string summary; // the recipe, then what its blend modes do, then the outcome
    std::vector<StepLine> steps;
    std::vector<LayerLeft> layersLeft; // top first
    bool flattened = false;
};

EffectWords DescribeEffect(const vlh::Effect& effect);

// One line about a Set: how many Effects, and the range of each parameter
// its Effects use: "12 Effects. Unsharp mask: amount 70 to 150 %, radius
// 0.4 to 1.8 px, threshold 2 to 6 levels."
std::string DescribeSet(const vlh::ActionSet& set);

// A blend mode code ("SftL") in words ("soft light"); the code itself when
// it is not one of the host's modes.
std::string BlendModeWords(const std::string& code);

} // namespace vhost::manual
