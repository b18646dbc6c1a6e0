#include "tools/resgen/ModuleData.h"

#include "hostapi/FourCharCode.h"

namespace vtools {

namespace {

constexpr uint32_t kFileTypeDynamicLibrary = 2; // VFT_DLL
constexpr uint16_t kModeRGB = 0x1000;           // fourth flag from the top

ModuleData MakeHonerModule() {
    ModuleData m;
    m.maker = "Corvane Labs";
    m.category = "Corvane LabsHoner";
    m.entryPoint = "PluginMain";
    m.enableExpression = "in(PSHOP_ImageMode, RGBMode, RGB48Mode)";
    m.modeFlags = kModeRGB;
    m.interfaceMajor = 1;
    m.interfaceMinor = 0;
    m.suiteID = vlh::FourCC("CrvL");
    m.classID = vlh::FourCC("VlCr");
    m.eventID = vlh::FourCC("null");
    m.eventDescription = "Vellicor automation plug in";
    m.language = 1033;
    m.plugins = {
        {"Vellicor Capture Honer", 16000},
        {"Vellicor Creative Honer", 16001},
        {"Vellicor Output Honer", 16002},
        {"Vellicor Capture Honer Expert", 16003},
    };
    // The version is the project's own (project() in the top CMakeLists.txt),
    // handed over by the build; the installer and the package take it from
    // there too.
    m.version = VersionData{
        {VLH_VERSION_MAJOR, VLH_VERSION_MINOR, VLH_VERSION_PATCH, 0},
        {VLH_VERSION_MAJOR, VLH_VERSION_MINOR, VLH_VERSION_PATCH, 0},
        kFileTypeDynamicLibrary,
        1033,
        1200,
        {
            {"CompanyName", "Corvane Labs, LLC."},
            {"FileDescription", "Vellicor Honer"},
            {"FileVersion", VLH_VERSION},
            {"InternalName", "Vellicor Honer"},
            {"OriginalFilename", "Honer.8li"},
            {"ProductName", "Corvane Labs Vellicor Honer"},
            {"ProductVersion", VLH_VERSION},
        },
    };
    return m;
}

} // namespace

const ModuleData& HonerModule() {
    static const ModuleData module = MakeHonerModule();
    return module;
}

std::string MenuName(const PluginData& plugin) {
    return plugin.name + "...";
}

std::string ScopeString(const ModuleData& module, const PluginData& plugin) {
    return module.maker + " " + plugin.name;
}

} // namespace vtools
