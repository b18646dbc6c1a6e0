#include "plugin/RunDriver.h"

namespace vlh {

SPErr RunPlugin(const char* /*pluginName*/, PIActionParameters* /*params*/) { return 0; }

} // namespace vlh
