// `vellicor run`: load the module, register its plug-ins from its resources,
// open the document, send one plug-in a "Do It" request with the Set and
// Effect (or none, so that it plays what it remembers), and report what
// happened. The options of the host's test bench (dialog, host identity, no
// document, the call log) are here too.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "host/cli/CommandLine.h"
#include "host/cli/Commands.h"
#include "host/cli/DefaultModule.h"
#include "host/cli/HostWindow.h"
#include "host/cli/RunDocument.h"
#include "host/cli/RunReport.h"
#include "host/core/Host.h"
#include "host/loader/ResourceRegistration.h"
#include "plugin/FourCharCode.h"

namespace vhost::cli {

namespace {

constexpr const char* kEllipsis = "...";

const std::vector<std::string> kOwnOptions = {
    "module",       "plugin",          "set",   "effect", "play", "reported-name", "host-name",
    "host-version", "colour-settings", "calls", "help", "dialog"};
const std::vector<std::string> kOwnFlags = {"calls", "help", "dialog"};

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void Help() {
    std::printf(
        "usage: vellicor run --plugin NAME [--set SET --effect EFFECT] [options]\n"
        "\n"
        "  --plugin NAME     the plug-in, e.g. \"Vellicor Output Honer\" (its menu name with \"...\" works "
        "too)\n"
        "  --set SET         the Set to apply, e.g. \"Inkjet Output Honers\"\n"
        "  --effect EFFECT   the Effect of that Set, e.g. \"Glossy and Lustre Paper, 300 ppi\"\n"
        "                    Without --set and --effect the plug-in plays the Set and Effect it\n"
        "                    remembers from its last run for this user.\n"
        "  --module FILE     the module (default: %s beside this command, else the one built with it)\n"
        "\n"
        "The document, an empty RGB document:\n"
        "  --depth 8|16 --width PX --height PX --ppi N --profile NAME\n"
        "                    (default 8 bits, 3000 x 2000 pixels at 300 ppi, sRGB IEC61966-2.1)\n"
        "\n"
        "The host, for testing:\n"
        "  --dialog          show the plug-in's dialog over the host's main window (--play 1)\n"
        "  --play N          playInfo: 0 no dialog (default), 1 show the dialog, 2 silent\n"
        "  --colour-settings NAME  select one of the host's named colour settings first\n"
        "  --reported-name NAME    what the host reports as the plug-in's own name\n"
        "  --host-name NAME --host-version MAJOR   what the host says it is\n"
        "  --no-document     run with no open document\n"
        "  --calls           also list every host call the module made\n"
        "\n"
        "Exit status: 0 when the plug-in returned 0 and the host's accounting is clean; 1 when the\n"
        "module was refused or returned an error, or something was left alive; 2 for bad usage.\n",
        kModuleFile);
}

int Usage(const std::string& why) {
    std::fprintf(stderr, "vellicor run: %s\n(see vellicor run --help)\n", why.c_str());
    return 2;
}

int Failure(const std::string& why) {
    std::fprintf(stderr, "vellicor run: %s\n", why.c_str());
    return 1;
}

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

// The host's identity, colour settings and the plug-in's reported name;
// says why an option is unusable.
std::optional<std::string> ApplyHostOptions(const CommandLine& cl, Host& host) {
    if (auto name = cl.Value("host-name")) {
        host.App().hostName = *name;
    }
    if (auto version = cl.Value("host-version")) {
        auto major = ParseNumber(*version, 0, 1000);
        if (!major) {
            return std::string("--host-version wants a whole number from 0 to 1000");
        }
        host.App().versionMajor = static_cast<int32_t>(*major);
    }
    if (auto settings = cl.Value("colour-settings"); settings && !host.App().SelectColourPreset(*settings)) {
        std::string known;
        for (const ColourSettings& preset : AppState::Presets()) {
            known += (known.empty() ? "" : ", ") + preset.name;
        }
        return "the host has no colour settings \"" + *settings + "\" (it has " + known + ")";
    }
    return std::nullopt;
}

// The request: playInfo and, when both names are given, the parameters.
std::optional<std::string> MakeRequest(const CommandLine& cl, DoItRequest& request,
                                       std::optional<AskedChoice>& asked) {
    if (auto play = cl.Value("play")) {
        auto n = ParseNumber(*play, 0, 2);
        if (!n) {
            return std::string("--play is 0, 1 or 2");
        }
        request.playInfo = static_cast<PIDialogPlayOptions>(*n);
    }
    if (cl.Has("dialog")) {
        request.playInfo = plugInDialogDisplay;
    }
    const std::optional<std::string> set = cl.Value("set");
    const std::optional<std::string> effect = cl.Value("effect");
    if (set.has_value() != effect.has_value()) {
        return std::string(
            "--set and --effect go together (give neither to play what the plug-in remembers)");
    }
    if (set) {
        asked = AskedChoice{*set, *effect};
        request.descriptor.emplace();
        request.descriptor->Put(vlh::FourCC("VlSt"), Value::String(*set));
        request.descriptor->Put(vlh::FourCC("VlAc"), Value::String(*effect));
    }
    return std::nullopt;
}

} // namespace

int RunCommand(const std::vector<std::string>& args) {
    const std::vector<std::string> flags = Joined(kOwnFlags, DocumentFlagNames());
    CommandLine cl(args, flags);
    if (!cl.Ok()) {
        return Usage(cl.Error());
    }
    if (cl.Has("help")) {
        Help();
        return 0;
    }
    if (auto unknown = cl.Unknown(Joined(kOwnOptions, DocumentOptionNames())); !unknown.empty()) {
        return Usage("unknown option --" + unknown.front());
    }
    const std::optional<std::string> pluginName = cl.Value("plugin");
    if (!pluginName) {
        return Usage("--plugin is required");
    }
    DoItRequest request;
    std::optional<AskedChoice> asked;
    if (auto why = MakeRequest(cl, request, asked)) {
        return Usage(*why);
    }
    const std::string modulePath = cl.Value("module").value_or(DefaultModulePath());
    if (modulePath.empty()) {
        return Usage(std::string("no ") + kModuleFile + " beside this command; name one with --module FILE");
    }

    Host host;
    if (auto why = OpenRunDocument(cl, host)) {
        return Usage(*why);
    }
    if (auto why = ApplyHostOptions(cl, host)) {
        return Usage(*why);
    }
    host.Calls().Enable(cl.Has("calls"));
    std::string error;
    const std::vector<PluginRecord*> records = RegisterModuleFromResources(host, modulePath, error);
    if (records.empty()) {
        return Failure("module refused: " + error);
    }
    PluginRecord* plugin = FindByName(host, *pluginName);
    if (plugin == nullptr) {
        return Failure("the module has no plug-in \"" + *pluginName + "\"; it has:" + PluginNames(records));
    }
    if (auto reported = cl.Value("reported-name")) {
        plugin->reportedName = *reported;
    }

    // The dialog is shown over the host's main window.
    const auto window = request.playInfo == plugInDialogDisplay ? OpenHostWindow(host, "run") : nullptr;
    const DoItResult result = host.DoIt(*plugin, request);
    WriteRunReport(host, *plugin, asked, result, cl.Has("calls"), std::cout);
    std::cout.flush();
    if (result.result != 0) {
        return Failure(ExplainFailure(*plugin, asked, result, modulePath));
    }
    if (!host.Clean()) {
        return Failure("the host's accounting is not clean after the run (see above)");
    }
    return 0;
}

} // namespace vhost::cli
