// The modal dialog of an interactive run: the user picks a Set and an Effect.
#pragma once

#include "actionsets/RunContext.h"

namespace vlh {

// Shows the dialog over the host's window, preselecting run.setName and
// run.effectName. On OK writes the choice into run; on Help leaves the help
// request ("**Help**", "**Index**", no Effect). True when the user did not
// confirm (Cancel, Escape, Info, or no dialog could be shown because the
// toolkit is not running).
bool ShowSetEffectDialog(RunContext& run);

} // namespace vlh
