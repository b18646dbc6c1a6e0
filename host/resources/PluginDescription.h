// What the host learns about one plug-in from a module's resources, before it
// runs anything: the menu entry, the entry point, when the plug-in may run and
// how it is scripted.
#pragma once

#include "host/resources/EnableExpression.h"
#include "host/resources/ImageMode.h"
#include "host/resources/TerminologyReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vhost {

struct PluginDescription {
    uint16_t resourceID = 0;   // of its property list
    std::string menuName;      // e.g. "Vellicor Capture Honer..."
    std::string category;      // empty when the list has none
    uint16_t versionMajor = 0; // interface version
    uint16_t versionMinor = 0;
    std::string entryPoint;        // the function to call
    std::optional<uint16_t> modes; // mode flags; none: the list does not restrict modes
    std::string enableExpression;  // as written; empty when the list has none
    EnableCondition enable;
    // Scripting: the terminology event and its parameters.
    uint32_t classID = 0;
    uint32_t eventID = 0;
    uint16_t terminologyID = 0;
    std::string scope;
    std::vector<ScriptingParameter> parameters;

    // The menu name without a trailing "...": what the host reports as the
    // plug-in's own name.
    std::string NameWithoutEllipsis() const;
};

// Whether the plug-in may run on the current document (nullopt: none is open).
// The enable expression decides when there is one, as in the real host; the
// mode flags only when there is none. Returns nullopt when it may run,
// otherwise a message naming the document's mode and what the plug-in accepts.
std::optional<std::string> RefusalForImageMode(const PluginDescription& plugin,
                                               std::optional<ImageMode> documentMode);

} // namespace vhost
