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
    }
#ifdef VLH_BUILT_MODULE
    if (fs::exists(VLH_BUILT_MODULE, error)) {
        return VLH_BUILT_MODULE;
    }
#endif
    return {};
}

} // namespace vhost::cli
