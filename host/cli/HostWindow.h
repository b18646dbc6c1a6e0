// The host's main window for the subcommands that show a module's windows.
#pragma once

#include <memory>

#include "host/core/Host.h"
#include "host/ui/MainWindow.h"

namespace vhost::cli {

// Shows the host's main window and makes it what UIHooks.MainAppWindow
// answers. Without a display there is none (the answer stays 0) and a note
// says so on standard error; the module then cannot show its windows.
std::unique_ptr<ui::MainWindow> OpenHostWindow(Host& host, const char* command);

} // namespace vhost::cli
