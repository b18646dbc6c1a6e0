// Playing an Effect: its enabled events go to the host's Play one after
// another, each with a host descriptor made from its recorded descriptor.
#pragma once

#include "actionsets/ActionSet.h"
#include "actionsets/HostConversion.h"

namespace vlh {

// Plays every enabled event of the Effect in stored order. 0 when all played;
// otherwise the code of the first failure (a failed conversion or Play, 1 for
// a value the host is not given, memFullErr when memory ran out), after which
// no further event is converted or played. Every host object made is released
// before it returns. Raises nothing.
OSErr PlayEffect(const Effect& effect) noexcept;

// Plays one event (nothing when it is disabled): converts its descriptor into
// list, turns its name into the event ID through the host and calls Play with
// the event's dialog option. A result descriptor is released at once. Raises
// HostError.
void PlayEvent(HostObjectList& list, const ActionEvent& event);

} // namespace vlh
