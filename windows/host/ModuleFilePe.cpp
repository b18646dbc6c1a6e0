// The plug-ins of a Windows module file, from its PE resources: the property
// lists ("PIPL") and terminologies ("AETE") the real host reads.
#include "host/resources/ModulePlugins.h"
#include "host/resources/ResourceError.h"
#include "windows/host/PeResources.h"

namespace vhost {

std::vector<PluginDescription> DescribeModulePlugins(const std::string& path) {
    const PeResources resources = PeResources::Read(path, {"PIPL", "AETE"});
    try {
        return DescribePlugins(resources.Entries());
    } catch (const ResourceError& e) {
        throw ResourceError(path + ": " + e.what());
    }
}

} // namespace vhost
