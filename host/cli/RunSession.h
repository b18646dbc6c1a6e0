// One `vellicor run` request: what it asks for, read once from the options,
// and the request itself, sent to the module's plug-in in a host that the
// caller prepared (with a document, or with none).
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/cli/RunReport.h"
#include "host/loader/Requests.h"

namespace vhost {
class Host;
} // namespace vhost

namespace vhost::cli {

class CommandLine;

// A host routine told to fail, for testing: "--fail-call Control.Play:5"
// fails the fifth Play with -25920; a third part chooses the code.
struct PlannedFault {
    std::string routine;
    uint64_t call = 0;
    int32_t code = -25920;
};

struct RunSettings {
    std::string pluginName; // as given, with or without the trailing "..."
    std::string modulePath;
    DoItRequest request;
    std::optional<AskedChoice> asked; // the Set and Effect given, if any
    std::optional<std::string> hostName;
    std::optional<int32_t> hostVersion;
    std::optional<std::string> colourSettings;
    std::optional<std::string> reportedName;
    std::optional<PlannedFault> fault;
    bool listCalls = false;
};

// The options this file reads, and those of them that take no value.
const std::vector<std::string>& SessionOptionNames();
const std::vector<std::string>& SessionFlagNames();

// Reads the settings; says why an option is unusable.
std::optional<std::string> ReadRunSettings(const CommandLine& cl, RunSettings& settings);

struct RequestOutcome {
    int status = 1;      // 0 when the plug-in returned 0 and the accounting is clean
    std::string failure; // why not, in words
    DoItResult result;
};

// Applies the host options, loads the module, registers its plug-ins from its
// resources, sends the named plug-in a "Do It" request (over the host's main
// window when the dialog is asked for) and writes the report to `report`.
RequestOutcome SendRunRequest(Host& host, const RunSettings& settings, std::ostream& report);

// The Set and Effect a run handed back, when its descriptor holds both.
std::optional<AskedChoice> HandedBackChoice(const DoItResult& result);

} // namespace vhost::cli
