// A loaded module file on Windows: LoadLibrary and the exported entry point.
// The module's path is the one the system reports for the loaded file (full,
// with backslashes), which is what the host later hands the module as its
// file location.
#include "host/loader/Module.h"

#include "windows/host/SystemText.h"

#include <windows.h>

namespace vhost {

namespace {

// The file the system loaded for handle; empty when it cannot tell.
std::string LoadedFilePath(HMODULE handle) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(handle, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 2);
    }
}

// path made full against the current folder; as it was when it cannot be.
std::string FullPath(const std::string& path) {
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return path;
    }
    std::string full(size, '\0');
    const DWORD n = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (n == 0 || n >= size) {
        return path;
    }
    full.resize(n);
    return full;
}

} // namespace

Module Module::Open(const std::string& path, std::string& error, const char* entryName) {
    Module m;
    // Libraries the module itself needs are looked for beside it first, which
    // takes a full path.
    const std::string windowsPath = FullPath(WindowsPath(path));
    const HMODULE handle = LoadLibraryExA(windowsPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (handle == nullptr) {
        error = "cannot load " + path + ": " + SystemErrorText(GetLastError());
        return Module();
    }
    m.handle_ = handle;
    const FARPROC symbol = GetProcAddress(handle, entryName);
    if (symbol == nullptr) {
        error = path + " has no entry point " + entryName;
        return Module(); // m frees the library
    }
    // Through the generic function type, which every function pointer type
    // may be cast from and to without a warning.
    m.entry_ = reinterpret_cast<PluginMainProc>(reinterpret_cast<void (*)()>(symbol));
    m.path_ = LoadedFilePath(handle);
    if (m.path_.empty()) {
        m.path_ = windowsPath;
    }
    return m;
}

void Module::Close() noexcept {
    if (handle_ != nullptr) {
        FreeLibrary(static_cast<HMODULE>(handle_));
        handle_ = nullptr;
        entry_ = nullptr;
    }
}

} // namespace vhost
