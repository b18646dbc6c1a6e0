#include "windows/cli/Session.h"

#include <windows.h>

namespace vhost::win {

std::string DefaultModulePath() {
    char program[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string path(program, n < MAX_PATH ? n : 0);
    const size_t separator = path.find_last_of("\\/");
    return (separator == std::string::npos ? std::string() : path.substr(0, separator + 1)) + "Honer.8li";
}

PluginRecord* FindPlugin(const std::vector<PluginRecord*>& plugins, const std::string& name) {
    if (name.empty()) {
        return plugins.empty() ? nullptr : plugins.front();
    }
    for (PluginRecord* p : plugins) {
        if (p->name == name || p->name == name + "...") {
            return p;
        }
    }
    return nullptr;
}

std::string PluginNames(const std::vector<PluginRecord*>& plugins) {
    std::string names;
    for (const PluginRecord* p : plugins) {
        names += "  " + p->name + "\n";
    }
    return names;
}

} // namespace vhost::win
