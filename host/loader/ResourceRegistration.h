// Registration of a module's plug-ins from its resources, as the real host
// does it: the resources are read from the file before anything in it runs,
// and a module whose resources are missing or invalid is refused. Also the
// check, before a request, that a plug-in may run on the active document.
#pragma once

#include "host/resources/ImageMode.h"

#include <optional>
#include <string>
#include <vector>

namespace vhost {

class Host;
struct Document;
struct PluginRecord;

// Reads the module's resources; when they describe usable plug-ins, loads the
// module and registers one plug-in per property list under its menu name,
// with its description. Returns the records in resource order. On refusal
// returns an empty list, registers nothing and says why in error.
std::vector<PluginRecord*> RegisterModuleFromResources(Host& host, const std::string& path,
                                                       std::string& error);

// The image mode of a document: its colour mode at its depth (RGB at 16 bits
// is RGB48Mode).
ImageMode ImageModeOf(const Document& document);

// Why the plug-in may not run on the host's active document (none open
// counts), or std::nullopt when it may. A plug-in registered without a
// description (by name alone) is not restricted.
std::optional<std::string> RefusalForActiveDocument(Host& host, const PluginRecord& plugin);

} // namespace vhost
