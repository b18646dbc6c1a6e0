// `vellicor` for Windows: the host as a console program. It loads the module
// with LoadLibrary, registers its plug-ins from the module's PE resources and
// calls PluginMain with the same message records, suites, accounting, fault
// plans and event log as the Linux host; it has no image engine, so played
// events are recorded, not carried out.
#include "host/cli/Subcommands.h"
#include "windows/cli/Commands.h"

namespace {

const vhost::cli::Subcommand kSubcommands[] = {
    {"list", "list the plug-ins a module registers", vhost::win::ListCommand},
    {"run", "send a plug-in one \"Do It\" request and report what it did", vhost::win::RunCommand},
    {"about", "show a plug-in's about box over the host's main window", vhost::win::AboutCommand},
};

} // namespace

int main(int argc, char** argv) {
    return vhost::cli::RunSubcommand(argc, argv, kSubcommands);
}
