// What PluginMain does with one request: keep the host's basic suite and
// plug-in reference, acquire the suites, dispatch by caller and selector, and
// release the suites again.
#pragma once

#include "hostapi/HostInterface.h"

namespace vlh {

// May throw (std::bad_alloc above all); PluginMain turns that into a code.
// Suites acquired here are released on every path out, throwing ones too.
SPErr HandleRequest(const char* caller, const char* selector, void* message);

// The result code that stands for an exception caught at the entry point.
constexpr SPErr kInternalError = -1;

} // namespace vlh
