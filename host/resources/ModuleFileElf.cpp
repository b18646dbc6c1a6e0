// The plug-ins of an ELF module file, from its resource section. (A Windows
// module's come from its PE resources: windows/host/ModuleFilePe.cpp.)
#include "host/resources/ElfSection.h"
#include "host/resources/ModulePlugins.h"
#include "host/resources/ResourceError.h"

namespace vhost {

std::vector<PluginDescription> DescribeModulePlugins(const std::string& path) {
    std::vector<uint8_t> section = ReadElfSection(path, kResourceSectionName);
    try {
        return DescribePlugins(section);
    } catch (const ResourceError& e) {
        throw ResourceError(path + ": " + e.what());
    }
}

} // namespace vhost
