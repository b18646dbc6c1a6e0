#include "host/cli/RunReport.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "host/catalogue/ModuleSets.h"
#include "host/cli/RunDocument.h"
#include "host/core/Dump.h"
#include "host/core/Host.h"
#include "host/core/ResultText.h"
#include "host/resources/ResourceError.h"

namespace vhost::cli {

namespace {

constexpr int kLabelWidth = 11;

void Line(std::ostream& out, const char* label, const std::string& value) {
    out << label << std::string(kLabelWidth - std::string(label).size(), ' ') << value << '\n';
}

std::string AskedText(const std::optional<AskedChoice>& asked) {
    if (!asked) {
        return "what the plug-in remembers (no parameters)";
    }
    return "Set " + QuotedText(asked->set) + ", Effect " + QuotedText(asked->effect);
}

const std::vector<std::string>& HistoryOf(Host& host) {
    return host.ActiveDocument() != nullptr ? host.ActiveDocument()->history : host.App().history;
}

void Indented(std::ostream& out, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        out << "  " << line << '\n';
    }
}

const ListedSet* FindListedSet(const ListedPlugin& plugin, const std::string& name) {
    auto it = std::find_if(plugin.sets.begin(), plugin.sets.end(),
                           [&name](const ListedSet& set) { return set.name == name; });
    return it == plugin.sets.end() ? nullptr : &*it;
}

void ListNames(std::ostream& out, const char* heading, const std::vector<std::string>& names) {
    out << heading;
    for (const std::string& name : names) {
        out << "\n  " << name;
    }
}

std::vector<std::string> SetNames(const ListedPlugin& plugin) {
    std::vector<std::string> names;
    for (const ListedSet& set : plugin.sets) {
        names.push_back(set.name);
    }
    return names;
}

// What the module's own codes mean for a run.
std::string CodeMeaning(SPErr code) {
    switch (code) {
    case 1:
        return "the dialog was not confirmed (cancelled, or it could not be shown)";
    case errPlugInHostInsufficient:
        return "the host is insufficient: a suite is missing, its name contains \"Elements\", or the "
               "plug-in offers no Sets here";
    case -30914:
        return "16-bit documents need a host of major version 8 or later";
    default:
        return {};
    }
}

} // namespace

void WriteRunReport(Host& host, const PluginRecord& plugin, const std::optional<AskedChoice>& asked,
                    const DoItResult& result, bool withCalls, std::ostream& out) {
    Line(out, "plug-in", plugin.name + " (" + plugin.modulePath + ")");
    Line(out, "document", DescribeDocument(host.ActiveDocument()));
    Line(out, "asked", AskedText(asked));
    Line(out, "result", ResultText(result.result));

    const std::vector<std::string>& history = HistoryOf(host);
    if (history.empty()) {
        Line(out, "history", "none");
    }
    for (size_t i = 0; i < history.size(); ++i) {
        Line(out, i == 0 ? "history" : "", QuotedText(history[i]));
    }
    const std::vector<std::string> events = host.Events().Lines();
    Line(out, "events", std::to_string(host.Events().Plays().size()) + " played");
    Indented(out, events);

    Line(out, "returned",
         (result.descriptor ? DumpDescriptor(*result.descriptor, &host.Terms()) : std::string("nothing")) +
             ", recordInfo " + std::to_string(result.recordInfo));
    if (withCalls) {
        Line(out, "calls", std::to_string(host.Calls().Total()));
        Indented(out, host.Calls().Lines());
    }
    const std::string findings = host.Report();
    Line(out, "accounting", findings.empty() ? "clean" : "NOT CLEAN");
    out << findings;
}

std::string ExplainMissingChoice(const ListedPlugin& plugin, const std::optional<AskedChoice>& asked) {
    std::ostringstream out;
    if (!asked) {
        out << plugin.name
            << " remembers no Set and Effect that it offers; name them with --set and --effect.";
        ListNames(out, "\nIts Sets (vellicor list shows their Effects):", SetNames(plugin));
        return out.str();
    }
    const ListedSet* set = FindListedSet(plugin, asked->set);
    if (set == nullptr) {
        out << plugin.name << " has no Set " << QuotedText(asked->set) << ".";
        ListNames(out, "\nIts Sets:", SetNames(plugin));
        return out.str();
    }
    if (std::find(set->effects.begin(), set->effects.end(), asked->effect) == set->effects.end()) {
        out << "the Set " << QuotedText(set->name) << " of " << plugin.name << " has no Effect "
            << QuotedText(asked->effect) << ".";
        ListNames(out, "\nIts Effects:", set->effects);
        return out.str();
    }
    out << plugin.name << " lists the Set " << QuotedText(asked->set) << " with the Effect "
        << QuotedText(asked->effect) << " but did not find them at run time.";
    return out.str();
}

std::string ExplainFailure(const PluginRecord& plugin, const std::optional<AskedChoice>& asked,
                           const DoItResult& result, const std::string& modulePath) {
    if (result.refusal) {
        return "the host does not offer " + plugin.name + " here: " + *result.refusal;
    }
    const std::string code = ResultText(result.result);
    if (result.result != kSPBadParameterError) {
        const std::string meaning = CodeMeaning(result.result);
        return plugin.name + " failed with " + code + (meaning.empty() ? "" : ": " + meaning);
    }
    const std::string name = plugin.description ? plugin.description->NameWithoutEllipsis() : plugin.name;
    try {
        for (const ListedPlugin& listed : ListModuleSets(modulePath)) {
            if (listed.name == name) {
                return ExplainMissingChoice(listed, asked);
            }
        }
        return plugin.name + " failed with " + code + "; the module lists no Sets for " + name;
    } catch (const ResourceError& error) {
        return plugin.name + " failed with " + code + "; its Sets cannot be listed: " + error.what();
    }
}

} // namespace vhost::cli
