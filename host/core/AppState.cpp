#include "host/core/AppState.h"

namespace vhost {

const std::vector<ColourSettings>& AppState::Presets() {
    static const std::vector<ColourSettings> presets = {
        {"General Purpose", false, false, true},
        {"Prepress Standard", true, true, true},
        {"Web and Screen", false, false, false},
        {"Monitor Colour", false, true, false},
    };
    return presets;
}

bool AppState::SelectColourPreset(const std::string& name) {
    for (const ColourSettings& p : Presets()) {
        if (p.name == name) {
            colour = p;
            return true;
        }
    }
    return false;
}

void AppState::SetProfileWarnings(bool opening, bool pasting, bool missing) {
    colour = {"Custom", opening, pasting, missing};
}

} // namespace vhost
