#include "hostapi/HostValues.h"

#include "hostapi/FourCharCode.h"
#include "hostapi/HostObjects.h"
#include "hostapi/HostSuites.h"
#include "hostapi/PropertyAccess.h"

#include <cstring>

namespace vlh {

int32_t GetDocumentDepth() {
    int32_t depth = 0;
    GetTargetProperty(FourCC("Dcmn"), FourCC("Dpth"), &depth, nullptr, FourCC("long"));
    return depth;
}

int32_t GetHostMajorVersion() {
    HostDescriptor version;
    DescriptorClassID versionClass = 0;
    PIActionDescriptor object = nullptr;
    if (GetTargetProperty(FourCC("capp"), FourCC("HstV"), &object, &versionClass, FourCC("Objc")) != 0) {
        return 0;
    }
    version.reset(object);
    if (!version) {
        return 0;
    }
    int32_t major = 0;
    if (GetDescriptorValue(version.get(), FourCC("VrsM"), &major, nullptr, FourCC("long")) != 0) {
        return 0;
    }
    return major;
}

int32_t GetHostName(char* buffer, uint32_t capacity) {
    uint32_t size = capacity;
    return GetTargetProperty(FourCC("capp"), FourCC("HstN"), buffer, &size, FourCC("TEXT"));
}

void ReadPluginName(char* buffer, uint32_t capacity) {
    if (capacity == 0) {
        return;
    }
    std::memset(buffer, 0, capacity);
    HostString name;
    if (gHost.uiHooks->GetPluginName(gHost.self, name.out()) != kSPNoError || !name) {
        return;
    }
    if (gHost.zstring->AsCString(name.get(), buffer, capacity, true) != 0) {
        std::memset(buffer, 0, capacity);
        return;
    }
    buffer[capacity - 1] = '\0';
    // A debug build of the host lists its plug-ins with this prefix.
    constexpr char kDebugPrefix[] = "Debug";
    constexpr size_t kPrefixLength = sizeof(kDebugPrefix) - 1;
    if (std::strncmp(buffer, kDebugPrefix, kPrefixLength) == 0) {
        std::memmove(buffer, buffer + kPrefixLength, std::strlen(buffer) - kPrefixLength + 1);
    }
}

} // namespace vlh
