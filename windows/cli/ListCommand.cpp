// `vellicor list`: the plug-ins a module registers, as the host reads them
// from its PE resources, without running anything in it.
#include "windows/cli/Commands.h"

#include "host/cli/CommandLine.h"
#include "host/resources/ModulePlugins.h"
#include "host/resources/PluginListing.h"
#include "host/resources/ResourceError.h"
#include "windows/cli/Session.h"

#include <cstdio>
#include <iostream>

namespace vhost::win {

int ListCommand(const std::vector<std::string>& args) {
    cli::CommandLine cl(args, {"help"});
    if (!cl.Ok() || !cl.Unknown({"module", "help"}).empty()) {
        std::fprintf(stderr, "usage: vellicor list [--module FILE]\n");
        return 2;
    }
    if (cl.Has("help")) {
        std::printf("usage: vellicor list [--module FILE]\n\n"
                    "Lists the plug-ins the module (default: Honer.8li beside this program) registers:\n"
                    "menu name, category, entry point, modes and scripting terms.\n");
        return 0;
    }
    const std::string path = cl.Value("module").value_or(DefaultModulePath());
    try {
        WritePluginListing(path, DescribeModulePlugins(path), std::cout);
    } catch (const ResourceError& e) {
        std::fprintf(stderr, "vellicor list: %s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace vhost::win
