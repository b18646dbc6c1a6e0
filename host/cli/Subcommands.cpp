#include "host/cli/Subcommands.h"

#include <cstdio>
#include <cstring>

namespace vhost::cli {

namespace {

void Usage(std::span<const Subcommand> subcommands) {
    std::fprintf(stderr, "usage: vellicor <command> [options]\n\ncommands:\n");
    for (const Subcommand& s : subcommands) {
        std::fprintf(stderr, "  %-8s %s\n", s.name, s.summary);
    }
    std::fprintf(stderr, "\n'vellicor <command> --help' tells a command's options.\n");
}

} // namespace

int RunSubcommand(int argc, char** argv, std::span<const Subcommand> subcommands) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        Usage(subcommands);
        return argc < 2 ? 2 : 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const Subcommand& s : subcommands) {
        if (std::strcmp(argv[1], s.name) == 0) {
            return s.run(args);
        }
    }
    std::fprintf(stderr, "vellicor: unknown command \"%s\"\n", argv[1]);
    Usage(subcommands);
    return 2;
}

} // namespace vhost::cli
