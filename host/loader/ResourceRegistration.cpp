#include "host/loader/ResourceRegistration.h"

#include "host/core/Host.h"
#include "host/resources/ModulePlugins.h"
#include "host/resources/ResourceError.h"

#include <filesystem>
#include <system_error>

namespace vhost {

namespace {

// This host resolves one entry point per module.
std::optional<std::string> SharedEntryPoint(const std::vector<PluginDescription>& plugins,
                                            std::string& error) {
    for (const PluginDescription& p : plugins) {
        if (p.entryPoint != plugins.front().entryPoint) {
            error = "\"" + p.menuName + "\" names entry point " + p.entryPoint + ", \"" +
                    plugins.front().menuName + "\" names " + plugins.front().entryPoint +
                    "; this host calls one entry point per module";
            return std::nullopt;
        }
    }
    return plugins.front().entryPoint;
}

ImageMode DeepOrNot(int32_t depth, ImageMode eightBit, ImageMode sixteenBit) {
    return depth == 16 ? sixteenBit : eightBit;
}

} // namespace

std::vector<PluginRecord*> RegisterModuleFromResources(Host& host, const std::string& path,
                                                       std::string& error) {
    std::vector<PluginDescription> plugins;
    try {
        plugins = DescribeModulePlugins(path);
    } catch (const ResourceError& e) {
        error = e.what();
        return {};
    }
    std::optional<std::string> entry = SharedEntryPoint(plugins, error);
    if (!entry) {
        error = path + ": " + error;
        return {};
    }
    // dlopen searches the library path for a bare file name; the module is
    // the file named, wherever the host runs from.
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    const Module* module =
        host.LoadModule(absolute.empty() ? path : absolute.string(), error, entry->c_str());
    if (module == nullptr) {
        return {};
    }
    std::vector<PluginRecord*> records;
    for (PluginDescription& p : plugins) {
        PluginRecord& record = host.RegisterPlugin(*module, p.menuName);
        record.description = std::move(p);
        records.push_back(&record);
    }
    return records;
}

ImageMode ImageModeOf(const Document& document) {
    switch (document.mode) {
    case ColourMode::Bitmap:
        return ImageMode::Bitmap;
    case ColourMode::Grayscale:
        return DeepOrNot(document.depth, ImageMode::Grayscale, ImageMode::Gray16);
    case ColourMode::Indexed:
        return ImageMode::Indexed;
    case ColourMode::RGB:
        return DeepOrNot(document.depth, ImageMode::RGB, ImageMode::RGB48);
    case ColourMode::CMYK:
        return DeepOrNot(document.depth, ImageMode::CMYK, ImageMode::CMYK64);
    case ColourMode::Lab:
        return DeepOrNot(document.depth, ImageMode::Lab, ImageMode::Lab48);
    case ColourMode::Multichannel:
        return DeepOrNot(document.depth, ImageMode::Multichannel, ImageMode::DeepMultichannel);
    case ColourMode::Duotone:
        return DeepOrNot(document.depth, ImageMode::Duotone, ImageMode::Duotone16);
    }
    return ImageMode::RGB;
}

std::optional<std::string> RefusalForActiveDocument(Host& host, const PluginRecord& plugin) {
    if (!plugin.description) {
        return std::nullopt;
    }
    const Document* document = host.ActiveDocument();
    std::optional<ImageMode> mode;
    if (document != nullptr) {
        mode = ImageModeOf(*document);
    }
    return RefusalForImageMode(*plugin.description, mode);
}

} // namespace vhost
