#include "host/resources/PluginDescription.h"

namespace vhost {

namespace {

constexpr std::string_view kEllipsis = "...";

std::string DocumentText(std::optional<ImageMode> mode) {
    if (!mode) {
        return "no image is open";
    }
    return "the image is " + std::string(ModeDisplayName(*mode)) + " (" +
           std::string(ModeExpressionName(*mode)) + ")";
}

std::string Refusal(const PluginDescription& plugin, std::optional<ImageMode> mode,
                    const std::string& accepts) {
    return "\"" + plugin.menuName + "\" cannot run: " + DocumentText(mode) + "; it accepts " + accepts;
}

} // namespace

std::string PluginDescription::NameWithoutEllipsis() const {
    if (menuName.size() >= kEllipsis.size() && menuName.ends_with(kEllipsis)) {
        return menuName.substr(0, menuName.size() - kEllipsis.size());
    }
    return menuName;
}

std::optional<std::string> RefusalForImageMode(const PluginDescription& plugin,
                                               std::optional<ImageMode> documentMode) {
    if (!plugin.enableExpression.empty()) {
        if (plugin.enable.Allows(documentMode)) {
            return std::nullopt;
        }
        std::string accepts = plugin.enable.ChecksMode() ? DescribeModes(plugin.enable.AllowedModes())
                                                         : "nothing (it is disabled)";
        return Refusal(plugin, documentMode,
                       accepts + " (enable expression \"" + plugin.enableExpression + "\")");
    }
    if (plugin.modes && documentMode && (*plugin.modes & ModeFlag(*documentMode)) == 0) {
        return Refusal(plugin, documentMode, DescribeModes(*plugin.modes));
    }
    return std::nullopt;
}

} // namespace vhost
