// The one table the module's resources are made from: the four plug-ins, the
// texts and codes they share, and the version record. Every output of the
// generator (the Linux section, the Windows resource files) reads this table,
// so the platforms cannot drift apart.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vtools {

// One automation plug-in of the module.
struct PluginData {
    std::string name;    // record name, e.g. "Vellicor Capture Honer"
    uint16_t resourceID; // ID of its property list and of its terminology
};

// The version record's contents.
struct VersionData {
    uint16_t fileVersion[4];
    uint16_t productVersion[4];
    uint32_t fileType;                                      // VFT_DLL for a dynamic library
    uint16_t language;                                      // Windows language ID of the text table
    uint16_t codePage;                                      // code page of the text table (1200: UTF-16)
    std::vector<std::pair<std::string, std::string>> texts; // key, value; ASCII
};

// What every plug-in of the module shares, and the plug-ins themselves.
struct ModuleData {
    std::string maker;            // suite name; prefix of every scope string
    std::string category;         // 'catg'
    std::string entryPoint;       // the exported function
    std::string enableExpression; // 'enbl'
    uint16_t modeFlags;           // 'mode': first flag (bitmap) is the top bit
    uint16_t interfaceMajor;      // 'vers'
    uint16_t interfaceMinor;
    uint32_t suiteID; // terminology suite
    uint32_t classID; // 'hstm' class and terminology event class
    uint32_t eventID; // 'hstm' event and terminology event ID
    std::string eventDescription;
    uint16_t language; // language of every resource (1033)
    std::vector<PluginData> plugins;
    VersionData version;
};

// The Honer module.
const ModuleData& HonerModule();

// Texts derived from a plug-in's record name.
std::string MenuName(const PluginData& plugin);                              // name + "..."
std::string ScopeString(const ModuleData& module, const PluginData& plugin); // maker + " " + name

} // namespace vtools
