// What `vellicor run` tells the user: the report of one request on standard
// output, and, when the plug-in failed, why in words.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "host/loader/Requests.h"

namespace vhost {
class Host;
struct ListedPlugin;
struct PluginRecord;
} // namespace vhost

namespace vhost::cli {

// The Set and Effect a run asked for; none when it let the plug-in use what
// it remembers.
struct AskedChoice {
    std::string set;
    std::string effect;
};

// The report: the plug-in and document, the result in words, the history
// states made, every event played (one line each), what the plug-in handed
// back, optionally every host call, and the host's accounting.
void WriteRunReport(Host& host, const PluginRecord& plugin, const std::optional<AskedChoice>& asked,
                    const DoItResult& result, bool withCalls, std::ostream& out);

// Why a Set and Effect were not found ('Parm'), from the plug-in's Sets as
// the module file lists them: names the Set or Effect that is missing and
// lists the valid ones.
std::string ExplainMissingChoice(const ListedPlugin& plugin, const std::optional<AskedChoice>& asked);

// Why the request failed, in words, for a non-zero result. For 'Parm' the
// Sets are read from the module file at modulePath.
std::string ExplainFailure(const PluginRecord& plugin, const std::optional<AskedChoice>& asked,
                           const DoItResult& result, const std::string& modulePath);

} // namespace vhost::cli
