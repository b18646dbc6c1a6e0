// Every resource of the module, built from the module table: a property list
// and a terminology per plug-in (both with the plug-in's ID) and the version
// record. Outputs for each platform are written from this list.
#pragma once

#include "tools/resgen/ModuleData.h"
#include "tools/resgen/PropertyList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vtools {

struct Resource {
    std::string type; // four characters: "PIPL", "AETE", "VERS"
    uint16_t id;
    uint16_t language;
    std::vector<uint8_t> bytes;
};

// ID of the version record (a module has one).
constexpr uint16_t kVersionRecordID = 1;

std::vector<Resource> BuildModuleResources(const ModuleData& module, EntryPointProperty entryPoint);

} // namespace vtools
