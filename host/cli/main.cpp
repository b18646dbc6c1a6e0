// `vellicor`: the host's command line. A thin dispatcher to one file per
// subcommand.
#include "host/cli/Commands.h"
#include "host/cli/Subcommands.h"

namespace {

const vhost::cli::Subcommand kSubcommands[] = {
    {"run", "run one Effect of a plug-in on image files or a document", vhost::cli::RunCommand},
    {"sheet", "a contact sheet of a plug-in's Effects on an image", vhost::cli::SheetCommand},
    {"list", "list the plug-ins a module registers", vhost::cli::ListCommand},
    {"inspect", "print an action-set stream as a tree", vhost::cli::InspectCommand},
    {"about", "show a module's about box over the host's main window", vhost::cli::AboutCommand},
    {"manual", "write the user manual, a PDF made from the module", vhost::cli::ManualCommand},
};

} // namespace

int main(int argc, char** argv) {
    return vhost::cli::RunSubcommand(argc, argv, kSubcommands);
}
