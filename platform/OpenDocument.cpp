#include "platform/OpenDocument.h"

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>
#else
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace vlh::platform {

void OpenDocument(const char* path) {
    if (path == nullptr || *path == '\0') {
        return;
    }
#if defined(_WIN32)
    ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
#else
    // xdg-open hands the document to its program and returns; waiting for it
    // leaves no child behind in the host's process.
    char opener[] = "xdg-open";
    char* argv[] = {opener, const_cast<char*>(path), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, opener, nullptr, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
    }
#endif
}

} // namespace vlh::platform
