// Registration from resources: the plug-ins a module declares, read from its
// file without running it. Every property list must describe a usable
// automation plug-in with its terminology; otherwise the whole module is
// refused with a message that says which resource is wrong and how.
#pragma once

#include "host/resources/PluginDescription.h"
#include "host/resources/ResourceDirectory.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vhost {

// The plug-ins of the module file at path, one per property list, in the
// order of its resource directory. Throws ResourceError "<path>: <why>".
std::vector<PluginDescription> DescribeModulePlugins(const std::string& path);

// The same, from the bytes of a resource section. Throws ResourceError.
std::vector<PluginDescription> DescribePlugins(std::span<const uint8_t> section);

// The same, from resources already read (a Windows module's), in the order
// given. Throws ResourceError.
std::vector<PluginDescription> DescribePlugins(const std::vector<ResourceEntry>& entries);

// The scripting keys a run hands its Set and Effect through; a module must
// declare both as text parameters.
inline constexpr uint32_t kSetKey = 0x566C5374;    // 'VlSt'
inline constexpr uint32_t kEffectKey = 0x566C4163; // 'VlAc'

} // namespace vhost
