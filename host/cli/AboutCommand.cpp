// `vellicor about`: load a module, register its plug-ins, and send one of them
// the about request over the host's main window; the module shows its about
// box until it is clicked.
#include <cstdio>
#include <string>
#include <vector>

#include "host/cli/CommandLine.h"
#include "host/cli/Commands.h"
#include "host/cli/DefaultModule.h"
#include "host/cli/HostWindow.h"
#include "host/core/Host.h"
#include "host/core/ResultText.h"
#include "host/loader/ResourceRegistration.h"

namespace vhost::cli {

namespace {

const std::vector<std::string> kOptions = {"module", "plugin", "help"};
const std::vector<std::string> kFlags = {"help"};

void Help() {
    std::printf("usage: vellicor about [--module FILE] [--plugin NAME]\n"
                "\n"
                "  --module FILE   the module (default: %s beside this command, else the one built with it)\n"
                "  --plugin NAME   the plug-in asked, by menu name (default: the module's first)\n"
                "\n"
                "Shows the host's main window and sends the about request; the module's about box\n"
                "stays until it is clicked. Without a display there is no window to show.\n"
                "Exit status: 0 when the request returned 0 and nothing was left alive, 1 otherwise, 2 for\n"
                "bad usage.\n",
                kModuleFile);
}

int Usage(const std::string& why) {
    return UsageError("about", why);
}

} // namespace

int AboutCommand(const std::vector<std::string>& args) {
    CommandLine cl(args, kFlags);
    if (auto done = CheckLine("about", cl, kOptions, Help)) {
        return *done;
    }
    const std::string modulePath = cl.Value("module").value_or(DefaultModulePath());
    if (modulePath.empty()) {
        return Usage(std::string("no ") + kModuleFile + " beside this command; name one with --module FILE");
    }

    Host host;
    std::string why;
    const std::vector<PluginRecord*> plugins = RegisterModuleFromResources(host, modulePath, why);
    if (plugins.empty()) {
        std::fprintf(stderr, "vellicor about: module refused: %s\n", why.c_str());
        return 1;
    }
    PluginRecord* plugin = plugins.front();
    if (auto name = cl.Value("plugin")) {
        plugin = host.FindPlugin(*name);
        if (plugin == nullptr) {
            std::fprintf(stderr,
                         "vellicor about: the module registers no plug-in \"%s\" (see vellicor list)\n",
                         name->c_str());
            return 1;
        }
    }

    const auto window = OpenHostWindow(host, "about");
    const SPErr result = host.About(*plugin);
    std::printf("result: %s\n", ResultText(result).c_str());
    const std::string report = host.Report();
    std::printf("accounting: %s\n%s", report.empty() ? "clean" : "NOT CLEAN", report.c_str());
    return result == 0 && report.empty() ? 0 : 1;
}

} // namespace vhost::cli
