// `vellicor` for Windows: the host as a console program. It loads the module
// with LoadLibrary, registers its plug-ins from the module's PE resources and
// calls PluginMain with the same message records, suites, accounting, fault
// plans and event log as the Linux host; it has no image engine, so played
// events are recorded, not carried out.
#include "windows/cli/Commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Subcommand {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>&);
};

const Subcommand kSubcommands[] = {
    {"list", "list the plug-ins a module registers", vhost::win::ListCommand},
    {"run", "send a plug-in one \"Do It\" request and report what it did", vhost::win::RunCommand},
    {"about", "show a plug-in's about box over the host's main window", vhost::win::AboutCommand},
};

void Usage() {
    std::fprintf(stderr, "usage: vellicor <command> [options]\n\ncommands:\n");
    for (const Subcommand& s : kSubcommands) {
        std::fprintf(stderr, "  %-8s %s\n", s.name, s.summary);
    }
    std::fprintf(stderr, "\n'vellicor <command> --help' tells a command's options.\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        Usage();
        return argc < 2 ? 2 : 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const Subcommand& s : kSubcommands) {
        if (std::strcmp(argv[1], s.name) == 0) {
            return s.run(args);
        }
    }
    std::fprintf(stderr, "vellicor: unknown command \"%s\"\n", argv[1]);
    Usage();
    return 2;
}
