// One "Do It" request of an automation plug-in, once the host is found fit.
#pragma once

#include "hostapi/HostInterface.h"

namespace vlh {

// Settles the Set and Effect, plays the Effect as one history state and hands
// the choice back in params for recording. Returns 0 or the failing code.
SPErr RunPlugin(const char* pluginName, PIActionParameters* params);

} // namespace vlh
