#include "host/cli/RunOutputs.h"

#include <cctype>
#include <filesystem>
#include <set>

namespace vhost::cli {

namespace {

namespace fs = std::filesystem;

bool IsFolder(const std::string& path) {
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ignored;
    return fs::equivalent(a, b, ignored);
}

std::optional<std::string> CheckOne(const ImageTarget& target, bool overwrite) {
    if (!IsImageFileName(target.output)) {
        return "cannot write \"" + target.output +
               "\": the name must end in .tif, .tiff, .png, .jpg or .jpeg";
    }
    if (!overwrite && SameFile(target.input, target.output)) {
        return "the result \"" + target.output +
               "\" would replace the image itself; add --overwrite to allow it";
    }
    return std::nullopt;
}

} // namespace

bool IsImageFileName(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    for (char& c : ext) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return ext == ".tif" || ext == ".tiff" || ext == ".png" || ext == ".jpg" || ext == ".jpeg";
}

std::optional<std::string> PlanOutputs(const std::vector<std::string>& images, const std::string& output,
                                       bool overwrite, std::vector<ImageTarget>& targets) {
    targets.clear();
    if (images.empty() || output.empty()) {
        return std::string("give the images and -o OUT");
    }
    const bool several = images.size() > 1;
    if (several && fs::exists(output) && !IsFolder(output)) {
        return "for several images -o names a folder, and \"" + output + "\" is a file";
    }
    std::set<std::string> names;
    for (const std::string& image : images) {
        const std::string name = fs::path(image).filename().string();
        if (several && !names.insert(name).second) {
            targets.clear();
            return "two images are called \"" + name + "\"; their results would share one name in \"" +
                   output + "\"";
        }
        const bool intoFolder = several || IsFolder(output);
        targets.push_back({image, intoFolder ? (fs::path(output) / name).string() : output});
        if (auto why = CheckOne(targets.back(), overwrite)) {
            targets.clear();
            return why;
        }
    }
    return std::nullopt;
}

} // namespace vhost::cli
