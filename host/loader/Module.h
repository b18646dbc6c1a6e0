// A loaded module file: dlopen with RTLD_NOW | RTLD_LOCAL and its entry point.
// Move-only; closing is left to the destructor (a module linked with
// -z nodelete stays mapped, which the toolkit inside it needs).
#pragma once

#include <string>

#include "hostapi/HostInterface.h"

namespace vhost {

class Module {
public:
    // Loads the file and looks up entryName. On failure returns an empty
    // Module (Loaded() false) and says why in error.
    static Module Open(const std::string& path, std::string& error, const char* entryName = "PluginMain");

    Module() = default;
    Module(Module&& other) noexcept;
    Module& operator=(Module&& other) noexcept;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module();

    bool Loaded() const { return handle_ != nullptr && entry_ != nullptr; }
    const std::string& Path() const { return path_; }
    PluginMainProc Entry() const { return entry_; }

private:
    void Close() noexcept;

    void* handle_ = nullptr;
    PluginMainProc entry_ = nullptr;
    std::string path_;
};

} // namespace vhost
