// `vellicor doit`: load a module, register one plug-in under its menu name,
// send it a "Do It" request, and report the result code, the events played,
// the history states made and the host's accounting.
#include <cstdio>
#include <string>
#include <vector>

#include "host/cli/CommandLine.h"
#include "host/cli/Commands.h"
#include "host/core/Dump.h"
#include "host/core/Host.h"
#include "host/core/ResultText.h"
#include "host/loader/ResourceRegistration.h"
#include "plugin/FourCharCode.h"

namespace vhost::cli {

namespace {

const std::vector<std::string> kOptions = {
    "module", "plugin", "play", "set",     "effect",    "reported-name", "no-document", "depth",
    "width",  "height", "ppi",  "profile", "host-name", "host-version",  "calls",       "help",
};
const std::vector<std::string> kFlags = {"no-document", "calls", "help"};

void Help() {
    std::printf(
        "usage: vellicor doit --module FILE --plugin NAME [options]\n"
        "\n"
        "  --module FILE         the module to load (e.g. Honer.8li)\n"
        "  --plugin NAME         the plug-in's menu name, e.g. \"Vellicor Capture Honer...\"\n"
        "  --play N              playInfo: 0 no dialog unless needed, 1 dialog, 2 silent (default 0)\n"
        "  --set NAME            Set name, handed in under 'VlSt'\n"
        "  --effect NAME         Effect name, handed in under 'VlAc'\n"
        "  --reported-name NAME  what the host reports as the plug-in's own name\n"
        "  --no-document         run with no open document\n"
        "  --depth 8|16 --width PX --height PX --ppi N --profile NAME\n"
        "                        the document (default 8 bits, 3000 x 2000 at 300 ppi, sRGB)\n"
        "  --host-name NAME --host-version MAJOR\n"
        "                        what the host says it is\n"
        "  --calls               also list every host call the module made\n"
        "\n"
        "Exit status: 0 when the request returned 0 and nothing was left alive, 1 otherwise, 2 for\n"
        "bad usage.\n");
}

int Usage(const std::string& why) {
    std::fprintf(stderr, "vellicor doit: %s\n(see vellicor doit --help)\n", why.c_str());
    return 2;
}

// Applies the document and host options; false with why filled on a bad value.
bool ApplyState(const CommandLine& cl, Host& host, std::string& why) {
    if (auto v = cl.Value("host-name")) {
        host.App().hostName = *v;
    }
    if (auto v = cl.Value("host-version")) {
        auto n = ParseNumber(*v, 0, 1000);
        if (!n) {
            why = "--host-version wants a number";
            return false;
        }
        host.App().versionMajor = static_cast<int32_t>(*n);
    }
    if (cl.Has("no-document")) {
        return true;
    }
    Document doc;
    doc.width = 3000;
    doc.height = 2000;
    doc.resolution = 300;
    struct IntOption {
        const char* name;
        long min, max;
        int32_t* field;
    };
    IntOption ints[] = {
        {"depth", 8, 16, &doc.depth}, {"width", 1, 300000, &doc.width}, {"height", 1, 300000, &doc.height}};
    for (const IntOption& o : ints) {
        if (auto v = cl.Value(o.name)) {
            auto n = ParseNumber(*v, o.min, o.max);
            if (!n) {
                why = std::string("--") + o.name + " is out of range";
                return false;
            }
            *o.field = static_cast<int32_t>(*n);
        }
    }
    if (doc.depth != 8 && doc.depth != 16) {
        why = "--depth is 8 or 16";
        return false;
    }
    if (auto v = cl.Value("ppi")) {
        auto n = ParseNumber(*v, 1, 100000);
        if (!n) {
            why = "--ppi is out of range";
            return false;
        }
        doc.resolution = static_cast<double>(*n);
    }
    if (auto v = cl.Value("profile")) {
        doc.profile = *v;
    }
    host.OpenDocument(std::move(doc));
    return true;
}

void Report(Host& host, const DoItResult& r, bool withCalls) {
    std::printf("result: %s\n", ResultText(r.result).c_str());
    std::printf("recordInfo: %d\n", static_cast<int>(r.recordInfo));
    std::printf("returned: %s\n",
                r.descriptor ? DumpDescriptor(*r.descriptor, &host.Terms()).c_str() : "none");
    std::printf("events:%s\n", host.Events().Lines().empty() ? " none" : "");
    for (const std::string& line : host.Events().Lines()) {
        std::printf("  %s\n", line.c_str());
    }
    const std::vector<std::string>& history =
        host.ActiveDocument() ? host.ActiveDocument()->history : host.App().history;
    std::printf("history:%s\n", history.empty() ? " none" : "");
    for (const std::string& state : history) {
        std::printf("  %s\n", QuotedText(state).c_str());
    }
    if (withCalls) {
        std::printf("calls: %llu\n", static_cast<unsigned long long>(host.Calls().Total()));
        for (const std::string& line : host.Calls().Lines()) {
            std::printf("  %s\n", line.c_str());
        }
    }
    const std::string report = host.Report();
    std::printf("accounting: %s\n", report.empty() ? "clean" : "NOT CLEAN");
    if (!report.empty()) {
        std::printf("%s", report.c_str());
    }
}

} // namespace

int DoItCommand(const std::vector<std::string>& args) {
    CommandLine cl(args, kFlags);
    if (!cl.Ok()) {
        return Usage(cl.Error());
    }
    if (cl.Has("help")) {
        Help();
        return 0;
    }
    if (auto unknown = cl.Unknown(kOptions); !unknown.empty()) {
        return Usage("unknown option --" + unknown.front());
    }
    const auto modulePath = cl.Value("module");
    const auto pluginName = cl.Value("plugin");
    if (!modulePath || !pluginName) {
        return Usage("--module and --plugin are required");
    }
    DoItRequest request;
    if (auto v = cl.Value("play")) {
        auto n = ParseNumber(*v, 0, 2);
        if (!n) {
            return Usage("--play is 0, 1 or 2");
        }
        request.playInfo = static_cast<PIDialogPlayOptions>(*n);
    }
    if (cl.Has("set") || cl.Has("effect")) {
        request.descriptor.emplace();
        if (auto v = cl.Value("set")) {
            request.descriptor->Put(vlh::FourCC("VlSt"), Value::String(*v));
        }
        if (auto v = cl.Value("effect")) {
            request.descriptor->Put(vlh::FourCC("VlAc"), Value::String(*v));
        }
    }

    Host host;
    std::string why;
    if (!ApplyState(cl, host, why)) {
        return Usage(why);
    }
    host.Calls().Enable(cl.Has("calls"));
    if (RegisterModuleFromResources(host, *modulePath, why).empty()) {
        std::fprintf(stderr, "vellicor doit: module refused: %s\n", why.c_str());
        return 1;
    }
    PluginRecord* found = host.FindPlugin(*pluginName);
    if (found == nullptr) {
        std::fprintf(stderr, "vellicor doit: the module registers no plug-in \"%s\" (see vellicor list)\n",
                     pluginName->c_str());
        return 1;
    }
    PluginRecord& plugin = *found;
    if (auto v = cl.Value("reported-name")) {
        plugin.reportedName = *v;
    }
    const DoItResult result = host.DoIt(plugin, request);
    if (result.refusal) {
        std::fprintf(stderr, "vellicor doit: %s\n", result.refusal->c_str());
    }
    Report(host, result, cl.Has("calls"));
    return result.result == 0 && host.Clean() ? 0 : 1;
}

} // namespace vhost::cli
