// The user-interface hooks suite: the main window, the plug-in's own name, and
// quiet answers for the routines a headless host has no use for.
#include <chrono>

#include "host/suites/SuiteSupport.h"

namespace vhost::suites {

namespace {

void VLH_API ProcessEvent(void*) {
    RunValue<int>("UIHooks.processEvent", 0, NoDetail(), [](Host&) { return 0; });
}

OSErr VLH_API DisplayPixels(const PSPixelMap*, const VRect*, int32_t, int32_t, void*) {
    return Run<OSErr>("UIHooks.displayPixels", NoDetail(), [](Host&) { return kUnimplemented16; });
}

void VLH_API ProgressBar(int32_t done, int32_t total) {
    RunValue<int>(
        "UIHooks.progressBar", 0, [&](Host&) { return std::to_string(done) + "/" + std::to_string(total); },
        [](Host&) { return 0; });
}

Boolean VLH_API TestAbort() {
    return RunValue<Boolean>("UIHooks.testAbort", 0, NoDetail(), [](Host&) -> Boolean { return 0; });
}

intptr_t VLH_API MainAppWindow() {
    return RunValue<intptr_t>("UIHooks.MainAppWindow", 0, NoDetail(),
                              [](Host& h) { return h.App().mainWindow; });
}

SPErr VLH_API SetCursor(const char* cursorID) {
    return Run<SPErr>(
        "UIHooks.SetCursor", [&](Host&) { return S(cursorID); }, [](Host&) { return kSPNoError; });
}

// Ticks of 1/60 s since the process started.
uint32_t VLH_API TickCount() {
    return RunValue<uint32_t>("UIHooks.TickCount", 0, NoDetail(), [](Host&) {
        static const auto start = std::chrono::steady_clock::now();
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        return static_cast<uint32_t>(ms * 60 / 1000);
    });
}

SPErr VLH_API GetPluginName(SPPluginRef plugin, ASZString* name) {
    constexpr const char* kRoutine = "UIHooks.GetPluginName";
    return Run<SPErr>(
        kRoutine,
        [&](Host& h) {
            const PluginRecord* p = h.FindPlugin(plugin);
            return p ? QuotedText(p->name) : std::string("unknown plug-in");
        },
        [&](Host& h) -> SPErr {
            if (NullOut(h, kRoutine, name)) {
                return kSPBadParameterError;
            }
            const PluginRecord* p = h.FindPlugin(plugin);
            if (p == nullptr) {
                h.Books().AddViolation(kRoutine, "unknown plug-in reference");
                return kPluginNotFound;
            }
            *name = NewHostString(h, p->ReportedName(), kRoutine);
            return kSPNoError;
        });
}

const PSUIHooksSuite1 kUIHooksSuite = {
    ProcessEvent, DisplayPixels, ProgressBar, TestAbort, MainAppWindow, SetCursor, TickCount, GetPluginName,
};

} // namespace

const PSUIHooksSuite1& UIHooksSuiteTable() {
    return kUIHooksSuite;
}

} // namespace vhost::suites
