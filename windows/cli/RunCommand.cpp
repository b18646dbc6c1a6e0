// `vellicor run`: load the module, register its plug-ins from its resources,
// open an empty document, send one plug-in a "Do It" request with the Set and
// Effect (or none, so that it plays what it remembers), and report what the
// module asked of the host: the events played, the history states, what it
// handed back, and the host's accounting.
#include "windows/cli/Commands.h"

#include "host/cli/CommandLine.h"
#include "host/core/Dump.h"
#include "host/core/Host.h"
#include "host/core/ResultText.h"
#include "host/loader/ResourceRegistration.h"
#include "hostapi/FourCharCode.h"
#include "windows/cli/Session.h"
#include "windows/host/MainWindow.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>

namespace vhost::win {

namespace {

const std::vector<std::string> kOptions = {"module", "plugin", "set",  "effect", "dialog",
                                           "play",   "depth",  "fail", "calls",  "help"};
const std::vector<std::string> kFlags = {"dialog", "calls", "help"};

void Help() {
    std::printf("usage: vellicor run [--module FILE] [--plugin NAME] [--set SET --effect EFFECT] [options]\n"
                "\n"
                "  --module FILE     the module (default: Honer.8li beside this program)\n"
                "  --plugin NAME     the plug-in by menu name, with or without \"...\" (default: the first)\n"
                "  --set SET --effect EFFECT\n"
                "                    the Set and Effect handed in as scripting parameters; without them the\n"
                "                    plug-in plays what it remembers for this user\n"
                "  --dialog          show the plug-in's dialog over the host's main window (--play 1)\n"
                "  --play N          playInfo: 0 no dialog (default), 1 show the dialog, 2 silent\n"
                "  --depth 8|16      the empty RGB document's depth (default 8)\n"
                "  --fail ROUTINE:N:CODE\n"
                "                    make the N-th call of a host routine fail with CODE\n"
                "                    (e.g. Control.Play:1:-25920)\n"
                "  --calls           also list every host call the module made\n"
                "\n"
                "This host has no image engine: the events are recorded, not carried out.\n"
                "Exit status: 0 when the plug-in returned 0 and the host's accounting is clean; 1 when the\n"
                "module was refused or returned an error, or something was left alive; 2 for bad usage.\n");
}

int Usage(const std::string& why) {
    return cli::UsageError("run", why);
}

struct PlannedFault {
    std::string routine;
    uint64_t call = 0;
    int32_t code = 0;
};

std::optional<PlannedFault> ParseFault(const std::string& text) {
    const size_t first = text.find(':');
    const size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos || first == 0) {
        return std::nullopt;
    }
    const auto call = cli::ParseNumber(text.substr(first + 1, second - first - 1), 1, 1000000);
    const auto code = cli::ParseNumber(text.substr(second + 1), INT32_MIN, INT32_MAX);
    if (!call || !code) {
        return std::nullopt;
    }
    return PlannedFault{text.substr(0, first), static_cast<uint64_t>(*call), static_cast<int32_t>(*code)};
}

Document EmptyRgbDocument(int32_t depth) {
    Document doc;
    doc.mode = ColourMode::RGB;
    doc.depth = depth;
    doc.width = 3000;
    doc.height = 2000;
    doc.resolution = 300;
    return doc;
}

void Report(Host& host, const PluginRecord& plugin, const DoItResult& result, bool withCalls) {
    std::printf("plug-in    %s\nmodule     %s\n", plugin.name.c_str(), plugin.modulePath.c_str());
    if (result.refusal) {
        std::printf("refused    %s\n", result.refusal->c_str());
    }
    std::printf("result     %s\n", ResultText(result.result).c_str());
    for (const std::string& line : host.Events().Lines()) {
        std::printf("event      %s\n", line.c_str());
    }
    if (const Document* doc = host.ActiveDocument()) {
        for (const std::string& state : doc->history) {
            std::printf("history    %s\n", QuotedText(state).c_str());
        }
    }
    if (result.descriptor) {
        std::printf("returned   %s\n", DumpDescriptor(*result.descriptor, &host.Terms()).c_str());
    }
    for (const std::string& fired : host.FaultPlan().Fired()) {
        std::printf("fault      %s\n", fired.c_str());
    }
    if (withCalls) {
        for (const std::string& line : host.Calls().Lines()) {
            std::printf("call       %s\n", line.c_str());
        }
    }
    std::printf("accounting %s\n", host.Clean() ? "clean" : ("\n" + host.Report()).c_str());
}

} // namespace

int RunCommand(const std::vector<std::string>& args) {
    cli::CommandLine cl(args, kFlags);
    if (auto done = cli::CheckLine("run", cl, kOptions, Help)) {
        return *done;
    }
    if (cl.Has("set") != cl.Has("effect")) {
        return Usage("--set and --effect go together");
    }
    DoItRequest request;
    if (cl.Has("dialog")) {
        request.playInfo = plugInDialogDisplay;
    }
    if (auto play = cl.Value("play")) {
        const auto n = cli::ParseNumber(*play, 0, 2);
        if (!n) {
            return Usage("--play takes 0, 1 or 2");
        }
        request.playInfo = static_cast<PIDialogPlayOptions>(*n);
    }
    const auto depth = cli::ParseNumber(cl.Value("depth").value_or("8"), 8, 16);
    if (!depth || (*depth != 8 && *depth != 16)) {
        return Usage("--depth takes 8 or 16");
    }
    std::optional<PlannedFault> fault;
    if (auto text = cl.Value("fail")) {
        if (!(fault = ParseFault(*text))) {
            return Usage("--fail takes ROUTINE:N:CODE, e.g. Control.Play:1:-25920");
        }
    }
    if (cl.Has("set")) {
        request.descriptor = Descriptor();
        request.descriptor->Put(vlh::FourCC("VlSt"), Value::String(*cl.Value("set")));
        request.descriptor->Put(vlh::FourCC("VlAc"), Value::String(*cl.Value("effect")));
    }

    Host host;
    std::string why;
    const std::string path = cl.Value("module").value_or(DefaultModulePath());
    const std::vector<PluginRecord*> plugins = RegisterModuleFromResources(host, path, why);
    if (plugins.empty()) {
        std::fprintf(stderr, "vellicor run: %s\n", why.c_str());
        return 1;
    }
    PluginRecord* plugin = FindPlugin(plugins, cl.Value("plugin").value_or(""));
    if (plugin == nullptr) {
        std::fprintf(stderr, "vellicor run: the module has no plug-in \"%s\"; it has:\n%s",
                     cl.Value("plugin")->c_str(), PluginNames(plugins).c_str());
        return 1;
    }
    std::unique_ptr<MainWindow> window;
    try {
        window = std::make_unique<MainWindow>(host);
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "vellicor run: %s; the module cannot show its windows\n", e.what());
    }
    host.OpenDocument(EmptyRgbDocument(static_cast<int32_t>(*depth)));
    host.Calls().Enable(cl.Has("calls"));
    if (fault) {
        host.FaultPlan().FailOnCall(fault->routine, fault->call, fault->code);
    }
    const DoItResult result = host.DoIt(*plugin, request);
    Report(host, *plugin, result, cl.Has("calls"));
    return result.result == 0 && host.Clean() ? 0 : 1;
}

} // namespace vhost::win
