#include "tools/resgen/Terminology.h"

#include "hostapi/FourCharCode.h"
#include "tools/resgen/ByteWriter.h"

#include <iterator>

namespace vtools {

namespace {

using vlh::FourCC;

constexpr uint16_t kWindowsPrefix = 1;
constexpr uint8_t kMajorVersion = 1;
constexpr uint8_t kMinorVersion = 0;
constexpr uint16_t kEnglish = 0;
constexpr uint16_t kRomanScript = 0;
constexpr uint16_t kSuiteLevel = 1;
constexpr uint16_t kSuiteVersion = 1;
constexpr uint32_t kNoReply = FourCC("null");
constexpr uint32_t kImageReference = FourCC("#ImR");
constexpr uint32_t kText = FourCC("TEXT");
// Direct parameter: optional, single item, enumerated, changes state.
constexpr uint16_t kDirectParameterFlags = 0xB000;
constexpr uint16_t kRequiredSingleItem = 0x0000;

struct Parameter {
    const char* name;
    uint32_t key;
    const char* description;
};

// Keys under which a run reads and hands back its Set and Effect.
const Parameter kParameters[] = {
    {"Set", FourCC("VlSt"), "Set"},
    {"Effect", FourCC("VlAc"), "Effect"},
};

void WriteEvent(ByteWriter& out, const ModuleData& module, const PluginData& plugin) {
    out.CountedString(ScopeString(module, plugin));
    out.CountedString(module.eventDescription);
    out.Code(module.classID);
    out.Code(module.eventID);
    out.Code(kNoReply);
    out.CountedString("");
    out.U16(0); // reply flags
    out.Code(kImageReference);
    out.CountedString("");
    out.U16(kDirectParameterFlags);
    out.U16(uint16_t(std::size(kParameters)));
    for (const Parameter& p : kParameters) {
        out.CountedString(p.name);
        out.Code(p.key);
        out.Code(kText);
        out.CountedString(p.description);
        out.U16(kRequiredSingleItem);
    }
}

} // namespace

std::vector<uint8_t> BuildTerminology(const ModuleData& module, const PluginData& plugin) {
    ByteWriter out;
    out.U16(kWindowsPrefix);
    out.U8(kMajorVersion);
    out.U8(kMinorVersion);
    out.U16(kEnglish);
    out.U16(kRomanScript);
    out.U16(1); // suites

    out.CountedString(module.maker);
    out.CountedString(plugin.name);
    out.Code(module.suiteID);
    out.U16(kSuiteLevel);
    out.U16(kSuiteVersion);
    out.U16(1); // events
    WriteEvent(out, module, plugin);
    out.U16(0); // classes
    out.U16(0); // comparison operators
    out.U16(0); // enumerations
    return out.Bytes();
}

} // namespace vtools
