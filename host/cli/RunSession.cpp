#include "host/cli/RunSession.h"

#include <charconv>

#include "host/cli/CommandLine.h"
#include "host/cli/DefaultModule.h"
#include "host/cli/HostWindow.h"
#include "host/core/Host.h"
#include "host/loader/ResourceRegistration.h"
#include "hostapi/FourCharCode.h"

namespace vhost::cli {

namespace {

constexpr const char* kEllipsis = "...";
constexpr uint32_t kSetKey = vlh::FourCC("VlSt");
constexpr uint32_t kEffectKey = vlh::FourCC("VlAc");

// The registered plug-in of that name, given with or without the trailing "...".
PluginRecord* FindByName(Host& host, const std::string& name) {
    if (PluginRecord* exact = host.FindPlugin(name)) {
        return exact;
    }
    return host.FindPlugin(name + kEllipsis);
}

std::string PluginNames(const std::vector<PluginRecord*>& records) {
    std::string names;
    for (const PluginRecord* record : records) {
        names += "\n  " + (record->description ? record->description->NameWithoutEllipsis() : record->name);
    }
    return names;
}

std::optional<std::string> ReadHostOptions(const CommandLine& cl, RunSettings& s) {
    s.hostName = cl.Value("host-name");
    if (auto version = cl.Value("host-version")) {
        auto major = ParseNumber(*version, 0, 1000);
        if (!major) {
            return std::string("--host-version wants a whole number from 0 to 1000");
        }
        s.hostVersion = static_cast<int32_t>(*major);
    }
    if (auto settings = cl.Value("colour-settings")) {
        std::string known;
        for (const ColourSettings& preset : AppState::Presets()) {
            if (preset.name == *settings) {
                s.colourSettings = settings;
            }
            known += (known.empty() ? "" : ", ") + preset.name;
        }
        if (!s.colourSettings) {
            return "the host has no colour settings \"" + *settings + "\" (it has " + known + ")";
        }
    }
    s.reportedName = cl.Value("reported-name");
    return std::nullopt;
}

// playInfo and, when both names are given, the parameters.
std::optional<std::string> ReadRequest(const CommandLine& cl, RunSettings& s) {
    if (auto play = cl.Value("play")) {
        auto n = ParseNumber(*play, 0, 2);
        if (!n) {
            return std::string("--play is 0, 1 or 2");
        }
        s.request.playInfo = static_cast<PIDialogPlayOptions>(*n);
    }
    if (cl.Has("dialog")) {
        s.request.playInfo = plugInDialogDisplay;
    }
    const std::optional<std::string> set = cl.Value("set");
    const std::optional<std::string> effect = cl.Value("effect");
    if (set.has_value() != effect.has_value()) {
        return std::string(
            "--set and --effect go together (give neither to play what the plug-in remembers)");
    }
    if (set) {
        s.asked = AskedChoice{*set, *effect};
        s.request.descriptor.emplace();
        s.request.descriptor->Put(kSetKey, Value::String(*set));
        s.request.descriptor->Put(kEffectKey, Value::String(*effect));
    }
    return std::nullopt;
}

std::optional<std::string> ReadFault(const CommandLine& cl, RunSettings& s) {
    const std::optional<std::string> text = cl.Value("fail-call");
    if (!text) {
        return std::nullopt;
    }
    const std::string why = "--fail-call wants ROUTINE:N or ROUTINE:N:CODE, e.g. Control.Play:5";
    const size_t colon = text->find(':');
    if (colon == 0 || colon == std::string::npos) {
        return why;
    }
    PlannedFault fault;
    fault.routine = text->substr(0, colon);
    const std::string rest = text->substr(colon + 1);
    const size_t second = rest.find(':');
    const auto call = ParseNumber(rest.substr(0, second), 1, 1000000);
    if (!call) {
        return why;
    }
    fault.call = static_cast<uint64_t>(*call);
    if (second != std::string::npos) {
        const auto code = ParseNumber(rest.substr(second + 1), INT32_MIN, INT32_MAX);
        if (!code || *code == 0) {
            return why;
        }
        fault.code = static_cast<int32_t>(*code);
    }
    s.fault = fault;
    return std::nullopt;
}

void ApplyHostSettings(const RunSettings& s, Host& host) {
    if (s.hostName) {
        host.App().hostName = *s.hostName;
    }
    if (s.hostVersion) {
        host.App().versionMajor = *s.hostVersion;
    }
    if (s.colourSettings) {
        host.App().SelectColourPreset(*s.colourSettings);
    }
    if (s.fault) {
        host.FaultPlan().FailOnCall(s.fault->routine, s.fault->call, s.fault->code);
    }
    host.Calls().Enable(s.listCalls);
}

} // namespace

const std::vector<std::string>& SessionOptionNames() {
    static const std::vector<std::string> names = {
        "module",       "plugin",          "set",   "effect", "play",     "reported-name", "host-name",
        "host-version", "colour-settings", "calls", "dialog", "fail-call"};
    return names;
}

const std::vector<std::string>& SessionFlagNames() {
    static const std::vector<std::string> names = {"calls", "dialog"};
    return names;
}

std::optional<std::string> ReadRunSettings(const CommandLine& cl, RunSettings& s) {
    const std::optional<std::string> pluginName = cl.Value("plugin");
    if (!pluginName) {
        return std::string("--plugin is required");
    }
    s.pluginName = *pluginName;
    for (auto read : {ReadRequest, ReadHostOptions, ReadFault}) {
        if (auto why = read(cl, s)) {
            return why;
        }
    }
    s.listCalls = cl.Has("calls");
    s.modulePath = cl.Value("module").value_or(DefaultModulePath());
    if (s.modulePath.empty()) {
        return std::string("no ") + kModuleFile + " beside this command; name one with --module FILE";
    }
    return std::nullopt;
}

RequestOutcome SendRunRequest(Host& host, const RunSettings& s, std::ostream& report) {
    RequestOutcome outcome;
    ApplyHostSettings(s, host);
    std::string error;
    const std::vector<PluginRecord*> records = RegisterModuleFromResources(host, s.modulePath, error);
    if (records.empty()) {
        outcome.failure = "module refused: " + error;
        return outcome;
    }
    PluginRecord* plugin = FindByName(host, s.pluginName);
    if (plugin == nullptr) {
        outcome.failure =
            "the module has no plug-in \"" + s.pluginName + "\"; it has:" + PluginNames(records);
        return outcome;
    }
    if (s.reportedName) {
        plugin->reportedName = *s.reportedName;
    }
    // The dialog is shown over the host's main window.
    const auto window = s.request.playInfo == plugInDialogDisplay ? OpenHostWindow(host, "run") : nullptr;
    outcome.result = host.DoIt(*plugin, s.request);
    WriteRunReport(host, *plugin, s.asked, outcome.result, s.listCalls, report);
    report.flush();
    if (outcome.result.result != 0) {
        outcome.failure = ExplainFailure(*plugin, s.asked, outcome.result, s.modulePath);
    } else if (!host.Clean()) {
        outcome.failure = "the host's accounting is not clean after the run (see above)";
    } else {
        outcome.status = 0;
    }
    return outcome;
}

std::optional<AskedChoice> HandedBackChoice(const DoItResult& result) {
    if (!result.descriptor) {
        return std::nullopt;
    }
    const Value* set = result.descriptor->Find(kSetKey);
    const Value* effect = result.descriptor->Find(kEffectKey);
    if (set == nullptr || effect == nullptr || set->Type() != type::kText || effect->Type() != type::kText) {
        return std::nullopt;
    }
    return AskedChoice{set->Text(), effect->Text()};
}

} // namespace vhost::cli
