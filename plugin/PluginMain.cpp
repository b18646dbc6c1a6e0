// The module's only export. The host calls it once for every request it makes
// of any of the four plug-ins; this is the one place where every exception,
// std::bad_alloc included, becomes a result code.
#include "hostapi/HostInterface.h"
#include "plugin/RequestDispatch.h"

#include <new>

extern "C" __attribute__((visibility("default"))) SPErr VLH_API PluginMain(const char* caller,
                                                                           const char* selector, void* message) {
    try {
        return vlh::HandleRequest(caller, selector, message);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    } catch (...) {
        return vlh::kInternalError;
    }
}
