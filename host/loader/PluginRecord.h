// One registered plug-in: what the host's menu shows and the module that
// answers for it. Its address is the SPPluginRef the module receives as
// "self"; the host only compares such references with its own records.
#pragma once

#include <optional>
#include <string>

#include "host/resources/PluginDescription.h"
#include "hostapi/HostInterface.h"

namespace vhost {

struct PluginRecord {
    std::string name;       // as registered, e.g. "Vellicor Capture Honer..."
    std::string modulePath; // the module file
    PluginMainProc entry = nullptr;
    void* globals = nullptr; // kept between requests, as the message's globals
    // What UIHooks.GetPluginName answers instead of the registered name
    // without its trailing "..." (tests: e.g. "DebugVellicor Capture Honer").
    std::optional<std::string> reportedName;
    // What Plugins.GetPluginFileSpecification answers instead of the module
    // path, byte for byte and without a terminator of its own (tests: a path
    // that fills the whole field).
    std::optional<std::string> fileSpecification;
    // What the module's resources say of the plug-in; none when it was
    // registered by name alone.
    std::optional<PluginDescription> description;

    // The name GetPluginName reports.
    std::string ReportedName() const;
    SPPluginRef Ref() { return reinterpret_cast<SPPluginRef>(this); }
};

} // namespace vhost
