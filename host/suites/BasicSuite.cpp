// The basic suite: suites by name and version, name equality, memory blocks.
#include <cstring>

#include "host/suites/SuiteSupport.h"

namespace vhost::suites {

namespace {

struct SuiteEntry {
    const char* name;
    int32_t version;
    const char* shortName; // for the call log
    const void* (*table)();
};

const SuiteEntry kSuites[] = {
    {kSPBasicSuite, kSPBasicSuiteVersion, "Basic",
     [] { return static_cast<const void*>(&BasicSuiteTable()); }},
    {kPSActionDescriptorSuite, kPSActionDescriptorSuiteVersion, "Descriptor",
     [] { return static_cast<const void*>(&DescriptorSuiteTable()); }},
    {kPSActionReferenceSuite, kPSActionReferenceSuiteVersion, "Reference",
     [] { return static_cast<const void*>(&ReferenceSuiteTable()); }},
    {kPSActionListSuite, kPSActionListSuiteVersion, "List",
     [] { return static_cast<const void*>(&ListSuiteTable()); }},
    {kPSActionControlSuite, kPSActionControlSuiteVersion, "Control",
     [] { return static_cast<const void*>(&ControlSuiteTable()); }},
    {kASZStringSuite, kASZStringSuiteVersion, "ZString",
     [] { return static_cast<const void*>(&ZStringSuiteTable()); }},
    {kPSUIHooksSuite, kPSUIHooksSuiteVersion1, "UIHooks",
     [] { return static_cast<const void*>(&UIHooksSuiteTable()); }},
    {kPSGetFileListSuite, kPSGetFileListSuiteVersion4, "FileList",
     [] { return static_cast<const void*>(&FileListSuiteTable()); }},
    {kSPPluginsSuite, kSPPluginsSuiteVersion, "Plugins",
     [] { return static_cast<const void*>(&PluginsSuiteTable()); }},
};

const SuiteEntry* FindEntry(const char* name, int32_t version) {
    if (name == nullptr) {
        return nullptr;
    }
    for (const SuiteEntry& e : kSuites) {
        if (e.version == version && std::strcmp(e.name, name) == 0) {
            return &e;
        }
    }
    return nullptr;
}

std::string SuiteDetail(const char* name, int32_t version) {
    for (const SuiteEntry& e : kSuites) {
        if (name != nullptr && std::strcmp(e.name, name) == 0) {
            return std::string(e.shortName) + " v" + std::to_string(version);
        }
    }
    return S(name) + " v" + std::to_string(version);
}

SPErr VLH_API AcquireSuite(const char* name, int32_t version, const void** suite) {
    constexpr const char* kRoutine = "Basic.AcquireSuite";
    return Run<SPErr>(
        kRoutine, [&](Host&) { return SuiteDetail(name, version); },
        [&](Host& host) -> SPErr {
            if (name == nullptr || NullOut(host, kRoutine, suite)) {
                return kSPBadParameterError;
            }
            const SuiteEntry* e = FindEntry(name, version);
            if (e == nullptr) {
                *suite = nullptr;
                return kSPSuiteNotFoundError;
            }
            *suite = e->table();
            host.Books().SuiteAcquired(e->name, e->version);
            return kSPNoError;
        });
}

SPErr VLH_API ReleaseSuite(const char* name, int32_t version) {
    constexpr const char* kRoutine = "Basic.ReleaseSuite";
    return Run<SPErr>(
        kRoutine, [&](Host&) { return SuiteDetail(name, version); },
        [&](Host& host) -> SPErr {
            const SuiteEntry* e = FindEntry(name, version);
            if (e == nullptr) {
                return kSPSuiteNotFoundError;
            }
            return host.Books().SuiteReleased(e->name, e->version, kRoutine) ? kSPNoError
                                                                             : kSPBadParameterError;
        });
}

SPBoolean VLH_API IsEqual(const char* a, const char* b) {
    return RunValue<SPBoolean>(
        "Basic.IsEqual", 0, [&](Host&) { return S(a) + " " + S(b); },
        [&](Host&) -> SPBoolean { return a != nullptr && b != nullptr && std::strcmp(a, b) == 0; });
}

SPErr VLH_API AllocateBlock(size_t size, void** block) {
    constexpr const char* kRoutine = "Basic.AllocateBlock";
    return Run<SPErr>(
        kRoutine, [&](Host&) { return std::to_string(size); },
        [&](Host& host) -> SPErr {
            if (NullOut(host, kRoutine, block)) {
                return kSPBadParameterError;
            }
            *block = host.Books().AllocateBlock(size);
            return *block ? kSPNoError : SPErr(memFullErr);
        });
}

SPErr VLH_API FreeBlock(void* block) {
    constexpr const char* kRoutine = "Basic.FreeBlock";
    return Run<SPErr>(kRoutine, NoDetail(), [&](Host& host) {
        return host.Books().FreeBlock(block, kRoutine) ? kSPNoError : kSPBadParameterError;
    });
}

SPErr VLH_API ReallocateBlock(void* block, size_t newSize, void** newBlock) {
    constexpr const char* kRoutine = "Basic.ReallocateBlock";
    return Run<SPErr>(
        kRoutine, [&](Host&) { return std::to_string(newSize); },
        [&](Host& host) -> SPErr {
            if (NullOut(host, kRoutine, newBlock)) {
                return kSPBadParameterError;
            }
            if (block != nullptr && !host.Books().HasBlock(block)) {
                host.Books().AddViolation(kRoutine, "unknown block " + H(host, block));
                return kSPBadParameterError;
            }
            void* moved = host.Books().ReallocateBlock(block, newSize, kRoutine);
            if (moved == nullptr) {
                return memFullErr;
            }
            *newBlock = moved;
            return kSPNoError;
        });
}

SPErr VLH_API Undefined() {
    return Run<SPErr>("Basic.Undefined", NoDetail(), [](Host&) { return kSPUnimplementedError; });
}

// Not const: the message record hands it out through a non-const pointer.
SPBasicSuite gBasicSuite = {AcquireSuite, ReleaseSuite,    IsEqual,  AllocateBlock,
                            FreeBlock,    ReallocateBlock, Undefined};

} // namespace

const SPBasicSuite& BasicSuiteTable() {
    return gBasicSuite;
}

size_t BoundedLength(const char* text, size_t limit) {
    return text == nullptr ? 0 : strnlen(text, limit);
}

ASZString NewHostString(Host& host, std::string text, const char* routine) {
    auto s = std::make_unique<HostString>();
    s->text = std::move(text);
    return static_cast<ASZString>(host.Books().Register(std::move(s), routine));
}

} // namespace vhost::suites

namespace vhost {

SPBasicSuite* Host::BasicSuite() {
    return &suites::gBasicSuite;
}

} // namespace vhost
