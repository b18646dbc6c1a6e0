#include "host/cli/HostWindow.h"

#include <cstdio>

namespace vhost::cli {

std::unique_ptr<ui::MainWindow> OpenHostWindow(Host& host, const char* command) {
    std::unique_ptr<ui::MainWindow> window = ui::MainWindow::Open();
    if (window) {
        host.App().mainWindow = window->Handle();
    } else {
        std::fprintf(stderr,
                     "vellicor %s: no display: the host has no main window and the module can show none\n",
                     command);
    }
    return window;
}

} // namespace vhost::cli
