#include "tools/resgen/ModuleResources.h"

#include "tools/resgen/Terminology.h"
#include "tools/resgen/VersionRecord.h"

namespace vtools {

std::vector<Resource> BuildModuleResources(const ModuleData& module, EntryPointProperty entryPoint) {
    std::vector<Resource> resources;
    for (const PluginData& plugin : module.plugins) {
        resources.push_back(
            {"PIPL", plugin.resourceID, module.language, BuildPropertyList(module, plugin, entryPoint)});
        resources.push_back({"AETE", plugin.resourceID, module.language, BuildTerminology(module, plugin)});
    }
    resources.push_back(
        {"VERS", kVersionRecordID, module.version.language, BuildVersionRecord(module.version)});
    return resources;
}

} // namespace vtools
