// The plug-ins suite over the host's plug-in records: file location,
// globals, names and lookup. Plug-in lists, adapters and property lists are
// not offered (kSPUnimplementedError).
#include <cstring>

#include "host/suites/SuiteSupport.h"

namespace vhost::suites {

namespace {

SPErr Unimplemented(const char* routine) {
    return Run<SPErr>(routine, NoDetail(), [](Host&) { return kSPUnimplementedError; });
}

// body(h, record) for a known plug-in; kPluginNotFound (and a violation) else.
template <typename Body>
SPErr WithPlugin(const char* routine, SPPluginRef plugin, Body body) {
    return Run<SPErr>(
        routine,
        [&](Host& h) {
            const PluginRecord* p = h.FindPlugin(plugin);
            return p ? QuotedText(p->name) : std::string("unknown plug-in");
        },
        [&](Host& h) -> SPErr {
            PluginRecord* p = h.FindPlugin(plugin);
            if (p == nullptr) {
                h.Books().AddViolation(routine, "unknown plug-in reference");
                return kPluginNotFound;
            }
            return body(h, *p);
        });
}

SPErr VLH_API AllocatePluginList(SPStringPoolRef, SPPluginListRef*) {
    return Unimplemented("Plugins.AllocatePluginList");
}
SPErr VLH_API FreePluginList(SPPluginListRef) {
    return Unimplemented("Plugins.FreePluginList");
}
SPErr VLH_API AddPlugin(SPPluginListRef, const SPPlatformFileSpecification*, PIProperty*, const char*, void*,
                        SPPluginRef*) {
    return Unimplemented("Plugins.AddPlugin");
}
SPErr VLH_API NewPluginListIterator(SPPluginListRef, SPPluginListIteratorRef*) {
    return Unimplemented("Plugins.NewPluginListIterator");
}
SPErr VLH_API NextPlugin(SPPluginListIteratorRef, SPPluginRef*) {
    return Unimplemented("Plugins.NextPlugin");
}
SPErr VLH_API DeletePluginListIterator(SPPluginListIteratorRef) {
    return Unimplemented("Plugins.DeletePluginListIterator");
}
SPErr VLH_API GetPluginListNeededSuiteAvailable(SPPluginListRef, SPBoolean*) {
    return Unimplemented("Plugins.GetPluginListNeededSuiteAvailable");
}

SPErr VLH_API GetPluginHostEntry(SPPluginRef plugin, PluginMainProc* host) {
    constexpr const char* kRoutine = "Plugins.GetPluginHostEntry";
    return WithPlugin(kRoutine, plugin, [&](Host& h, PluginRecord& p) -> SPErr {
        if (NullOut(h, kRoutine, host)) {
            return kSPBadParameterError;
        }
        *host = p.entry;
        return kSPNoError;
    });
}

// Fills the whole 300-byte buffer: the path and zeros. A path that does not
// fit with its NUL is refused and the buffer left alone.
SPErr VLH_API GetPluginFileSpecification(SPPluginRef plugin, SPPlatformFileSpecification* fileSpec) {
    constexpr const char* kRoutine = "Plugins.GetPluginFileSpecification";
    return WithPlugin(kRoutine, plugin, [&](Host& h, PluginRecord& p) -> SPErr {
        if (NullOut(h, kRoutine, fileSpec)) {
            return kSPBadParameterError;
        }
        const std::string& path = p.fileSpecification ? *p.fileSpecification : p.modulePath;
        const size_t terminator = p.fileSpecification ? 0 : 1;
        if (path.size() + terminator > sizeof fileSpec->path) {
            return kSPBadParameterError;
        }
        std::memset(fileSpec->path, 0, sizeof fileSpec->path);
        std::memcpy(fileSpec->path, path.data(), path.size());
        h.App().lastFileSpecPath = path;
        return kSPNoError;
    });
}

SPErr VLH_API GetPluginPropertyList(SPPluginRef, SPPropertyListRef*) {
    return Unimplemented("Plugins.GetPluginPropertyList");
}

SPErr VLH_API GetPluginGlobals(SPPluginRef plugin, void** globals) {
    constexpr const char* kRoutine = "Plugins.GetPluginGlobals";
    return WithPlugin(kRoutine, plugin, [&](Host& h, PluginRecord& p) -> SPErr {
        if (NullOut(h, kRoutine, globals)) {
            return kSPBadParameterError;
        }
        *globals = p.globals;
        return kSPNoError;
    });
}

SPErr VLH_API SetPluginGlobals(SPPluginRef plugin, void* globals) {
    return WithPlugin("Plugins.SetPluginGlobals", plugin, [&](Host&, PluginRecord& p) -> SPErr {
        p.globals = globals;
        return kSPNoError;
    });
}

SPErr VLH_API GetPluginStarted(SPPluginRef, int32_t*) {
    return Unimplemented("Plugins.GetPluginStarted");
}
SPErr VLH_API SetPluginStarted(SPPluginRef, int32_t) {
    return Unimplemented("Plugins.SetPluginStarted");
}
SPErr VLH_API GetPluginSkipShutdown(SPPluginRef, int32_t*) {
    return Unimplemented("Plugins.GetPluginSkipShutdown");
}
SPErr VLH_API SetPluginSkipShutdown(SPPluginRef, int32_t) {
    return Unimplemented("Plugins.SetPluginSkipShutdown");
}
SPErr VLH_API GetPluginBroken(SPPluginRef, int32_t*) {
    return Unimplemented("Plugins.GetPluginBroken");
}
SPErr VLH_API SetPluginBroken(SPPluginRef, int32_t) {
    return Unimplemented("Plugins.SetPluginBroken");
}
SPErr VLH_API GetPluginAdapter(SPPluginRef, SPAdapterRef*) {
    return Unimplemented("Plugins.GetPluginAdapter");
}
SPErr VLH_API GetPluginAdapterInfo(SPPluginRef, void**) {
    return Unimplemented("Plugins.GetPluginAdapterInfo");
}
SPErr VLH_API SetPluginAdapterInfo(SPPluginRef, void*) {
    return Unimplemented("Plugins.SetPluginAdapterInfo");
}
SPErr VLH_API FindPluginProperty(SPPluginRef, PIType, PIType, int32_t, PIProperty**) {
    return Unimplemented("Plugins.FindPluginProperty");
}

// The registered name; the pointer stays valid as long as the host.
SPErr VLH_API GetPluginName(SPPluginRef plugin, const char** name) {
    constexpr const char* kRoutine = "Plugins.GetPluginName";
    return WithPlugin(kRoutine, plugin, [&](Host& h, PluginRecord& p) -> SPErr {
        if (NullOut(h, kRoutine, name)) {
            return kSPBadParameterError;
        }
        *name = p.name.c_str();
        return kSPNoError;
    });
}

SPErr VLH_API SetPluginName(SPPluginRef, const char*) {
    return Unimplemented("Plugins.SetPluginName");
}

SPErr VLH_API GetNamedPlugin(const char* name, SPPluginRef* plugin) {
    constexpr const char* kRoutine = "Plugins.GetNamedPlugin";
    return Run<SPErr>(
        kRoutine, [&](Host&) { return S(name); },
        [&](Host& h) -> SPErr {
            if (name == nullptr || NullOut(h, kRoutine, plugin)) {
                return kSPBadParameterError;
            }
            PluginRecord* p = h.FindPlugin(std::string(name, BoundedLength(name, kMaxText)));
            if (p == nullptr) {
                return kPluginNotFound;
            }
            *plugin = p->Ref();
            return kSPNoError;
        });
}

SPErr VLH_API SetPluginPropertyList(SPPluginRef, SPFileRef) {
    return Unimplemented("Plugins.SetPluginPropertyList");
}

const SPPluginsSuite4 kPluginsSuite = {
    AllocatePluginList,
    FreePluginList,
    AddPlugin,
    NewPluginListIterator,
    NextPlugin,
    DeletePluginListIterator,
    GetPluginListNeededSuiteAvailable,
    GetPluginHostEntry,
    GetPluginFileSpecification,
    GetPluginPropertyList,
    GetPluginGlobals,
    SetPluginGlobals,
    GetPluginStarted,
    SetPluginStarted,
    GetPluginSkipShutdown,
    SetPluginSkipShutdown,
    GetPluginBroken,
    SetPluginBroken,
    GetPluginAdapter,
    GetPluginAdapterInfo,
    SetPluginAdapterInfo,
    FindPluginProperty,
    GetPluginName,
    SetPluginName,
    GetNamedPlugin,
    SetPluginPropertyList,
};

} // namespace

const SPPluginsSuite4& PluginsSuiteTable() {
    return kPluginsSuite;
}

} // namespace vhost::suites
