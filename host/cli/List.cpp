// `vellicor list`: the plug-ins a module registers, read from its resources
// without running it, with what the host knows of each.
#include "host/catalogue/ModuleSets.h"
#include "host/cli/CommandLine.h"
#include "host/cli/DefaultModule.h"
#include "host/cli/Commands.h"
#include "host/resources/ModulePlugins.h"
#include "host/resources/PluginListing.h"
#include "host/resources/ResourceError.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace vhost::cli {

namespace {

const std::vector<std::string> kOptions = {"module", "help"};
const std::vector<std::string> kFlags = {"help"};

void Help() {
    std::printf("usage: vellicor list [--module FILE]\n"
                "\n"
                "  --module FILE   the module to read; it is not run (default: %s beside this command\n"
                "                  or in its installed plug-ins folder, else the one built with it)\n"
                "\n"
                "Lists each plug-in the module registers: menu name, category, interface version,\n"
                "entry point, image modes, enable expression and scripting parameters.\n"
                "Exit status: 0 when the module's resources were read, 1 when they were refused,\n"
                "2 for bad usage.\n",
                kModuleFile);
}

int Usage(const std::string& why) {
    return UsageError("list", why);
}

} // namespace

int ListCommand(const std::vector<std::string>& args) {
    CommandLine cl(args, kFlags);
    if (auto done = CheckLine("list", cl, kOptions, Help)) {
        return *done;
    }
    const std::string module = cl.Value("module").value_or(DefaultModulePath());
    if (module.empty()) {
        return Usage(std::string("no ") + kModuleFile + " found; name one with --module FILE");
    }
    try {
        std::vector<PluginDescription> plugins = DescribeModulePlugins(module);
        // Each plug-in's Sets and Effects, read from the module's stored Sets.
        WritePluginListing(std::filesystem::path(module).filename().string(), plugins, std::cout,
                           SetsAndEffectsFor(module));
        return 0;
    } catch (const ResourceError& e) {
        std::fprintf(stderr, "vellicor list: module refused: %s\n", e.what());
        return 1;
    }
}

} // namespace vhost::cli
