// `vellicor`: the host's command line. A thin dispatcher to one file per
// subcommand.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/cli/Commands.h"

namespace {

struct Subcommand {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>&);
};

const Subcommand kSubcommands[] = {
    {"run", "run one Effect of a plug-in on image files or a document", vhost::cli::RunCommand},
    {"sheet", "a contact sheet of a plug-in's Effects on an image", vhost::cli::SheetCommand},
    {"list", "list the plug-ins a module registers", vhost::cli::ListCommand},
    {"inspect", "print an action-set stream as a tree", vhost::cli::InspectCommand},
    {"about", "show a module's about box over the host's main window", vhost::cli::AboutCommand},
    {"manual", "write the user manual, a PDF made from the module", vhost::cli::ManualCommand},
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
