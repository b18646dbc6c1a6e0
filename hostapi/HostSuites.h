// The module-wide view of the host during one request: the basic suite and
// plug-in reference from the message, and the eight suites every part of the
// module calls through. Rewritten at the start of every request and released
// before it returns; nothing here outlives a call of PluginMain.
#pragma once

#include "hostapi/HostInterface.h"

namespace vlh {

struct HostSuites {
    SPBasicSuite* basic = nullptr;
    SPPluginRef self = nullptr;
    const PSActionDescriptorProcs* descriptor = nullptr;
    const PSActionReferenceProcs* reference = nullptr;
    const PSActionControlProcs* control = nullptr;
    const PSActionListProcs* list = nullptr;
    const ASZStringSuite* zstring = nullptr;
    const PSUIHooksSuite1* uiHooks = nullptr;
    const PSGetFileListSuite4* fileList = nullptr;
    const SPPluginsSuite4* plugins = nullptr;
};

// The one instance, valid only inside a request.
extern HostSuites gHost;

// Acquires the eight suites in table order. On the first failure releases
// those already acquired and returns false; with no basic suite returns false
// at once.
bool AcquireHostSuites();

// Releases every acquired suite in table order and nulls its slot.
void ReleaseHostSuites();

} // namespace vlh
