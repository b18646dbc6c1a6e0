#include "host/cli/DefaultModule.h"

#include <filesystem>
#include <system_error>

namespace vhost::cli {

namespace fs = std::filesystem;

std::string DefaultModulePath() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path beside = self.parent_path() / kModuleFile;
        if (fs::exists(beside, error)) {
            return beside.string();
        }
#ifdef VLH_INSTALLED_MODULE
        // Installed: the module in its plug-ins folder, found from bin/.
        const fs::path installed = (self.parent_path() / VLH_INSTALLED_MODULE).lexically_normal();
        if (fs::exists(installed, error)) {
            return installed.string();
        }
#endif
#ifdef VLH_BUILT_MODULE
        // In the build folder: the module built with it, found from this
        // command's own place (no path of the build machine is compiled in).
        const fs::path built = (self.parent_path() / VLH_BUILT_MODULE).lexically_normal();
        if (fs::exists(built, error)) {
            return built.string();
        }
#endif
    }
    return {};
}

} // namespace vhost::cli
