// `vellicor manual`: writes the user manual, a PDF made from the module: its
// plug-ins, Sets and Effects read from the module file, each Effect run
// through the module on a sample picture for its before-and-after crops.
#include <cstdio>
#include <string>
#include <vector>

#include "host/cli/CommandLine.h"
#include "host/cli/Commands.h"
#include "host/cli/DefaultModule.h"
#include "host/manual/Manual.h"
#include "host/manual/ManualError.h"

#ifndef VLH_VERSION
#define VLH_VERSION "unknown"
#endif

namespace vhost::cli {

namespace {

const std::vector<std::string> kOptions = {"output", "module", "quiet", "help"};
const std::vector<std::string> kFlags = {"quiet", "help"};

void Help() {
    std::printf("usage: vellicor manual -o FILE.pdf [--module FILE] [--quiet]\n"
                "\n"
                "  -o, --output FILE  the PDF to write (the installed manual is vlh_help/%s\n"
                "                     beside the module)\n"
                "  --module FILE      the module (default: the installed one, else the one built with\n"
                "                     this command)\n"
                "  --quiet            say nothing on success\n"
                "\n"
                "Reads the module's plug-ins, Sets and Effects, runs every Effect through the module on\n"
                "a sample picture, and writes the manual with a crop of each before and after.\n"
                "Exit status: 0 when the manual was written and the host's accounting is clean, 1 when\n"
                "it could not be made, 2 for bad usage.\n",
                manual::kManualFileName);
}

int Usage(const std::string& why) {
    return UsageError("manual", why);
}

// "-o FILE" is "--output FILE".
std::vector<std::string> WithLongOptions(std::vector<std::string> args) {
    for (std::string& a : args) {
        if (a == "-o") {
            a = "--output";
        }
    }
    return args;
}

} // namespace

int ManualCommand(const std::vector<std::string>& args) {
    CommandLine cl(WithLongOptions(args), kFlags);
    if (auto done = CheckLine("manual", cl, kOptions, Help)) {
        return *done;
    }
    const std::optional<std::string> output = cl.Value("output");
    if (!output || output->empty()) {
        return Usage("-o FILE.pdf is required");
    }
    const std::string modulePath = cl.Value("module").value_or(DefaultModulePath());
    if (modulePath.empty()) {
        return Usage(std::string("no ") + kModuleFile + " found; name one with --module FILE");
    }
    const bool quiet = cl.Has("quiet");
    manual::ManualRequest request{modulePath, *output, VLH_VERSION, {}};
    if (!quiet) {
        request.progress = [](const std::string& what) { std::printf("  %s\n", what.c_str()); };
    }
    try {
        const manual::ManualSummary summary = manual::WriteManual(request);
        for (const std::string& warning : summary.warnings) {
            std::fprintf(stderr, "vellicor manual: warning: %s\n", warning.c_str());
        }
        if (!quiet) {
            std::printf("%s: %d pages, %zu plug-ins, %zu Sets, %zu Effects; host accounting clean\n",
                        output->c_str(), summary.pages, summary.plugins, summary.sets, summary.effects);
        }
        return 0;
    } catch (const manual::ManualError& e) {
        std::fprintf(stderr, "vellicor manual: %s\n", e.what());
        return 1;
    }
}

} // namespace vhost::cli
