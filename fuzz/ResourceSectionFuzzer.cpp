// A module file's resource section through the host's reader: the directory,
// every property list and the terminology it links, exactly as the host
// reads them before registering a module's plug-ins. A section is either
// refused with a message or gives plug-ins that the host can register: each
// with a menu name, an entry point and the two text parameters a run needs;
// the listing of `vellicor list` and the mode check then work on them.
#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "host/resources/ModulePlugins.h"
#include "host/resources/PluginListing.h"
#include "host/resources/ResourceError.h"

namespace {

using vlh::fuzz::Require;

bool HasTextParameter(const vhost::PluginDescription& plugin, uint32_t key) {
    for (const vhost::ScriptingParameter& parameter : plugin.parameters) {
        if (parameter.key == key) {
            return true;
        }
    }
    return false;
}

void CheckPlugins(const std::vector<vhost::PluginDescription>& plugins) {
    Require(!plugins.empty(), "an accepted section has a plug-in");
    std::set<std::string> names;
    for (const vhost::PluginDescription& plugin : plugins) {
        Require(!plugin.menuName.empty(), "every plug-in has a menu name");
        Require(names.insert(plugin.menuName).second, "no two plug-ins share a menu name");
        Require(!plugin.entryPoint.empty(), "every plug-in names its entry point");
        Require(plugin.versionMajor == 1, "every plug-in speaks interface 1.x");
        Require(HasTextParameter(plugin, vhost::kSetKey) && HasTextParameter(plugin, vhost::kEffectKey),
                "every plug-in takes a Set and an Effect");
        for (int mode = 0; mode < vhost::kImageModeCount; ++mode) {
            const auto refusal = vhost::RefusalForImageMode(plugin, vhost::ImageMode(mode));
            Require(!refusal || !refusal->empty(), "a refusal says why");
        }
        vhost::RefusalForImageMode(plugin, std::nullopt);
    }
    std::ostringstream listing;
    vhost::WritePluginListing("fuzz.8li", plugins, listing);
    Require(!listing.str().empty(), "the listing says something");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        CheckPlugins(vhost::DescribePlugins(std::span<const uint8_t>(data, size)));
    } catch (const vhost::ResourceError& error) {
        Require(*error.what() != '\0', "a refused section says why");
    }
    return 0;
}
