#include "tools/resgen/PropertyList.h"

#include "hostapi/FourCharCode.h"
#include "tools/resgen/ByteWriter.h"

namespace vtools {

namespace {

using vlh::FourCC;

constexpr uint16_t kWindowsPrefix = 1;
constexpr uint32_t kListVersion = 0;
constexpr uint32_t kVendor = FourCC("8BIM");
constexpr uint32_t kAutomationKind = FourCC("8LIZ");
constexpr uint32_t kTerminologyVersion = 0;

struct Property {
    uint32_t key;
    ByteWriter data;
};

Property Code(uint32_t key, uint32_t value) {
    Property p{key, {}};
    p.data.Code(value);
    return p;
}

Property Counted(uint32_t key, const std::string& text) {
    Property p{key, {}};
    p.data.CountedString(text);
    return p;
}

Property Terminated(uint32_t key, const std::string& text) {
    Property p{key, {}};
    p.data.CString(text);
    return p;
}

Property Version(const ModuleData& module) {
    Property p{FourCC("vers"), {}};
    p.data.U32(uint32_t(module.interfaceMajor) << 16 | module.interfaceMinor);
    return p;
}

Property Terminology(const ModuleData& module, const PluginData& plugin) {
    Property p{FourCC("hstm"), {}};
    p.data.U32(kTerminologyVersion);
    p.data.Code(module.classID);
    p.data.Code(module.eventID);
    p.data.U16(plugin.resourceID);
    p.data.CString(ScopeString(module, plugin));
    return p;
}

// Sixteen flags, the first in the top bit of the first byte, then two zero bytes.
Property Modes(const ModuleData& module) {
    Property p{FourCC("mode"), {}};
    p.data.U8(uint8_t(module.modeFlags >> 8));
    p.data.U8(uint8_t(module.modeFlags));
    p.data.U8(0);
    p.data.U8(0);
    return p;
}

void WriteProperty(ByteWriter& out, Property& p) {
    p.data.AlignTo4();
    out.Code(kVendor);
    out.Code(p.key);
    out.U32(0); // property ID
    out.U32(uint32_t(p.data.Size()));
    out.Bytes(p.data.Bytes());
}

} // namespace

std::vector<uint8_t> BuildPropertyList(const ModuleData& module, const PluginData& plugin,
                                       EntryPointProperty entryPoint) {
    std::vector<Property> properties;
    properties.push_back(Code(FourCC("kind"), kAutomationKind));
    properties.push_back(Counted(FourCC("name"), MenuName(plugin)));
    properties.push_back(Counted(FourCC("catg"), module.category));
    properties.push_back(Version(module));
    if (entryPoint != EntryPointProperty::X64) {
        properties.push_back(Terminated(FourCC("wx86"), module.entryPoint));
    }
    if (entryPoint != EntryPointProperty::X86) {
        properties.push_back(Terminated(FourCC("8664"), module.entryPoint));
    }
    properties.push_back(Terminology(module, plugin));
    properties.push_back(Modes(module));
    properties.push_back(Terminated(FourCC("enbl"), module.enableExpression));

    ByteWriter out;
    out.U16(kWindowsPrefix);
    out.U32(kListVersion);
    out.U32(uint32_t(properties.size()));
    for (Property& p : properties) {
        WriteProperty(out, p);
    }
    return out.Bytes();
}

} // namespace vtools
