// The record of one run: which plug-in runs, the Set and Effect to apply, and
// every Set the plug-in offers. Created when a run starts and destroyed, with
// all it owns, on every way out of it.
#pragma once

#include "actionsets/ActionSet.h"
#include "actionsets/NameField.h"

namespace vlh {

struct RunContext {
    char pluginName[kNameFieldSize] = {};
    char setName[kNameFieldSize] = {};
    char effectName[kNameFieldSize] = {};
    Effect* chosenEffect = nullptr; // one of the Effects in sets, not owned
    ActionSetList sets;
};

} // namespace vlh
