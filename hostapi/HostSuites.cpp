#include "hostapi/HostSuites.h"

#include <array>
#include <cstdint>
#include <type_traits>

namespace vlh {

HostSuites gHost;

namespace {

// One row per suite the module uses, in the order they are acquired and
// released; store and held reach the member of gHost that keeps the table.
struct SuiteRow {
    const char* name;
    int16_t version;
    void (*store)(const void* suite);
    bool (*held)();
};

template <auto Member>
constexpr SuiteRow Row(const char* name, int16_t version) {
    return {name, version,
            [](const void* suite) {
                gHost.*Member = static_cast<std::remove_reference_t<decltype(gHost.*Member)>>(suite);
            },
            [] { return gHost.*Member != nullptr; }};
}

constexpr std::array<SuiteRow, 8> hostSuites = {{
    Row<&HostSuites::descriptor>(kPSActionDescriptorSuite, 2),
    Row<&HostSuites::reference>(kPSActionReferenceSuite, 2),
    Row<&HostSuites::control>(kPSActionControlSuite, 3),
    Row<&HostSuites::list>(kPSActionListSuite, 1),
    Row<&HostSuites::zstring>(kASZStringSuite, 1),
    Row<&HostSuites::uiHooks>(kPSUIHooksSuite, 1),
    Row<&HostSuites::fileList>(kPSGetFileListSuite, 4),
    Row<&HostSuites::plugins>(kSPPluginsSuite, 4),
}};

} // namespace

bool AcquireHostSuites() {
    for (const SuiteRow& row : hostSuites) {
        row.store(nullptr);
    }
    if (gHost.basic == nullptr) {
        return false;
    }
    for (const SuiteRow& row : hostSuites) {
        const void* suite = nullptr;
        if (gHost.basic->AcquireSuite(row.name, row.version, &suite) != kSPNoError || suite == nullptr) {
            // Give back what this request already holds: nothing relies on a
            // half-acquired set surviving the failed request.
            ReleaseHostSuites();
            return false;
        }
        row.store(suite);
    }
    return true;
}

void ReleaseHostSuites() {
    for (const SuiteRow& row : hostSuites) {
        if (row.held()) {
            gHost.basic->ReleaseSuite(row.name, row.version);
            row.store(nullptr);
        }
    }
}

} // namespace vlh
