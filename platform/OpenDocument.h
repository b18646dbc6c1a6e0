// Opening a document with the program the system associates with it.
#pragma once

namespace vlh::platform {

// Hands `path` to the system's opener: ShellExecuteA's "open" on Windows,
// xdg-open elsewhere (started with an argument vector, never through a
// shell, and found on PATH so tests can put their own first). Whether the
// document opens is the system's business; nothing is reported.
void OpenDocument(const char* path);

// The separator between the folders of a path on this platform.
#if defined(_WIN32)
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

} // namespace vlh::platform
