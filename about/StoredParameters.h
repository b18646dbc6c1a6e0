// Each plug-in remembers, per user, the Set and Effect of its last successful
// run under Software\CorvaneLabs\<plug-in name>\Parameters, values "Set" and
// "Action", both text.
#pragma once

#include "actionsets/RunContext.h"
#include "platform/Registry.h"

namespace vlh {

// Fills run.setName and run.effectName from the stored values where a usable
// one exists (text of fewer than 256 bytes); leaves a field as it was
// otherwise. Creates the key chain below "Software" when it is missing.
// Returns the registry's status of the last step; nobody needs it.
LONG LoadStoredParameters(RunContext& run);

// Stores run.setName and run.effectName, each with its terminating zero.
LONG SaveStoredParameters(const RunContext& run);

} // namespace vlh
