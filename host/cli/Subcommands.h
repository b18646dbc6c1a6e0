// The dispatcher of a `vellicor` command line: the first argument names the
// subcommand, the rest are its own.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace vhost::cli {

struct Subcommand {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

// Runs the subcommand argv[1] names with the arguments after it; usage on
// stderr (status 2) for none or an unknown one, and for --help (status 0).
int RunSubcommand(int argc, char** argv, std::span<const Subcommand> subcommands);

} // namespace vhost::cli
