// `vellicor about`: load a module, register its plug-ins, and send one of them
// the about request over the host's main window; the module shows its about
// box until it is clicked.
#include "windows/cli/Commands.h"

#include "host/cli/CommandLine.h"
#include "host/core/Host.h"
#include "host/core/ResultText.h"
#include "host/loader/ResourceRegistration.h"
#include "windows/cli/Session.h"
#include "windows/host/MainWindow.h"

#include <cstdio>
#include <stdexcept>

namespace vhost::win {

namespace {

void Help() {
    std::printf("usage: vellicor about [--module FILE] [--plugin NAME]\n"
                "\n"
                "  --module FILE   the module (default: Honer.8li beside this program)\n"
                "  --plugin NAME   the plug-in asked, by menu name (default: the module's first)\n"
                "\n"
                "Shows the host's main window and sends the about request; the module's about box\n"
                "stays until it is clicked.\n"
                "Exit status: 0 when the request returned 0 and nothing was left alive, 1 otherwise, 2 for\n"
                "bad usage.\n");
}

} // namespace

int AboutCommand(const std::vector<std::string>& args) {
    cli::CommandLine cl(args, {"help"});
    if (!cl.Ok() || !cl.Unknown({"module", "plugin", "help"}).empty()) {
        std::fprintf(stderr, "vellicor about: bad usage (see vellicor about --help)\n");
        return 2;
    }
    if (cl.Has("help")) {
        Help();
        return 0;
    }
    Host host;
    std::string why;
    const std::vector<PluginRecord*> plugins =
        RegisterModuleFromResources(host, cl.Value("module").value_or(DefaultModulePath()), why);
    if (plugins.empty()) {
        std::fprintf(stderr, "vellicor about: %s\n", why.c_str());
        return 1;
    }
    PluginRecord* plugin = FindPlugin(plugins, cl.Value("plugin").value_or(""));
    if (plugin == nullptr) {
        std::fprintf(stderr, "vellicor about: the module has no plug-in \"%s\"; it has:\n%s",
                     cl.Value("plugin")->c_str(), PluginNames(plugins).c_str());
        return 1;
    }
    SPErr result = 0;
    try {
        MainWindow window(host);
        result = host.About(*plugin);
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "vellicor about: %s\n", e.what());
        return 1;
    }
    std::printf("result     %s\naccounting %s\n", ResultText(result).c_str(),
                host.Clean() ? "clean" : ("\n" + host.Report()).c_str());
    return result == 0 && host.Clean() ? 0 : 1;
}

} // namespace vhost::win
