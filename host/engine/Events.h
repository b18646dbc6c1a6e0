// The events of the recipes' vocabulary, each as the work it does on the
// active document's layers.
#pragma once

#include <vector>

#include "host/core/Host.h"
#include "host/engine/EventParameters.h"

namespace vhost::engine {

struct EventContext {
    Host& host;
    DocumentPixels& pixels; // the active document's
    const EventParameters& parameters;
};

struct EventEntry {
    const char* stringID;
    // Whether this call is the engine's; null for "always". ("set" is the
    // engine's only when it targets a layer.)
    bool (*accepts)(const PlayCall& call);
    // Does the work or throws EngineError. The caller restores the layers
    // when it throws.
    void (*play)(EventContext& context);
};

// Every event the engine answers.
const std::vector<EventEntry>& EventTable();

} // namespace vhost::engine
