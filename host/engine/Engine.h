// The image engine inside the host: one Play handler per event of the
// recipes' vocabulary, working on the active document's layers, and the
// SuspendHistory hooks that put the document back when a procedure fails.
//
// Play answers:
//   0                        the event was done
//   kEventNotAvailable       an event outside the vocabulary; a layer event
//                            with no document open; a merge with no layer
//                            below
//   kMissingParameter        a required key is absent
//   kInvalidParameters       a key the event does not take, a value of the
//                            wrong type, unit or range, an unknown blend mode,
//                            a reference that does not name a layer, a "set"
//                            that no handler of the host takes
//   kReferenceNotFound       a layer that is not there (by name, or the step
//                            below the bottom / above the top)
//   kParamErr                the image library refused (the message says why)
// A failed event leaves the document as it was before it. The host answers
// "purge" and the colour-settings "set" itself; a "set" whose target is not a
// layer passes to the host's other handlers, and is refused only when none of
// them takes it.
#pragma once

#include <memory>
#include <string>

#include "host/core/Host.h"

namespace vhost::engine {

// What the engine says about the last event it refused.
struct EngineNotes {
    std::string lastFailure; // "unsharpMask: radius 0 px is outside 0.1 to 250 px"
};

// Adds the engine's Play handlers, a fallback handler that refuses every other
// event, and the history hooks, to the host. The notes stay valid as long as
// the caller keeps them, whatever happens to the host.
std::shared_ptr<const EngineNotes> InstallEngine(Host& host);

} // namespace vhost::engine
