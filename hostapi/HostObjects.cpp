#include "hostapi/HostObjects.h"

#include "hostapi/HostSuites.h"

namespace vlh {

// A free that fails has nothing left to do: the object is the host's again.
void FreeHostDescriptor(PIActionDescriptor descriptor) noexcept { gHost.descriptor->Free(descriptor); }
void FreeHostReference(PIActionReference reference) noexcept { gHost.reference->Free(reference); }
void FreeHostList(PIActionList list) noexcept { gHost.list->Free(list); }
void ReleaseHostString(ASZString string) noexcept { gHost.zstring->Release(string); }

} // namespace vlh
