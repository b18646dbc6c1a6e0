#include "chooser/HelpLinks.h"

#include "hostapi/HostSuites.h"
#include "platform/OpenDocument.h"

#include <cstring>
#include <string>

namespace vlh {

void OpenHelpManual() {
    SPPlatformFileSpecification module{};
    if (gHost.plugins->GetPluginFileSpecification(gHost.self, &module) != kSPNoError) {
        return;
    }
    const size_t length = strnlen(module.path, sizeof module.path);
    if (length == sizeof module.path) {
        return; // not terminated within the buffer: not a path we can trust
    }
    const std::string modulePath(module.path, length);
    const size_t separator = modulePath.rfind(platform::kPathSeparator);
    if (separator == std::string::npos) {
        return;
    }
    std::string manual = modulePath.substr(0, separator + 1) + kManualRelativePath;
    if (manual.size() + 1 > sizeof module.path) {
        return;
    }
    platform::OpenDocument(manual.c_str());
}

void OpenInformationPage() { gHost.fileList->BrowseUrl(kProductInformationPage); }

} // namespace vlh
