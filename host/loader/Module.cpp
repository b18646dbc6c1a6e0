#include "host/loader/Module.h"

#include <dlfcn.h>

namespace vhost {

Module Module::Open(const std::string& path, std::string& error, const char* entryName) {
    Module m;
    dlerror();
    m.handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m.handle_ == nullptr) {
        const char* why = dlerror();
        error = why ? why : "cannot load " + path;
        return Module();
    }
    void* symbol = dlsym(m.handle_, entryName);
    if (symbol == nullptr) {
        error = path + " has no entry point " + entryName;
        return Module(); // m closes the library
    }
    m.entry_ = reinterpret_cast<PluginMainProc>(symbol);
    m.path_ = path;
    return m;
}

void Module::Close() noexcept {
    if (handle_ != nullptr) {
        dlclose(handle_);
        handle_ = nullptr;
        entry_ = nullptr;
    }
}

} // namespace vhost
