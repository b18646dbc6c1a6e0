#include "host/cli/RunDocument.h"

#include <cstdio>

#include "host/cli/CommandLine.h"
#include "host/core/Host.h"
#include "host/loader/ResourceRegistration.h"

namespace vhost::cli {

namespace {

constexpr long kDefaultWidth = 3000;
constexpr long kDefaultHeight = 2000;
constexpr long kDefaultResolution = 300;
// The document is only described, never allocated, but the module
// multiplies its sides for the size readout: keep them in a sane range.
constexpr long kMaxSide = 300000;
constexpr long kMaxResolution = 100000;

// Reads --name as a whole number in [min, max] into value (left alone when
// the option is absent); says why when the text is not one.
std::optional<std::string> ReadWhole(const CommandLine& cl, const char* name, long min, long max,
                                     long& value) {
    const std::optional<std::string> text = cl.Value(name);
    if (!text) {
        return std::nullopt;
    }
    const std::optional<long> n = ParseNumber(*text, min, max);
    if (!n) {
        return "--" + std::string(name) + " wants a whole number from " + std::to_string(min) + " to " +
               std::to_string(max);
    }
    value = *n;
    return std::nullopt;
}

} // namespace

const std::vector<std::string>& DocumentOptionNames() {
    static const std::vector<std::string> names = {"depth", "width",   "height",
                                                   "ppi",   "profile", "no-document"};
    return names;
}

const std::vector<std::string>& DocumentFlagNames() {
    static const std::vector<std::string> names = {"no-document"};
    return names;
}

std::optional<std::string> OpenRunDocument(const CommandLine& cl, Host& host) {
    if (cl.Has("no-document")) {
        for (const std::string& name : DocumentOptionNames()) {
            if (name != "no-document" && cl.Has(name)) {
                return "--no-document and --" + name + " do not go together";
            }
        }
        host.CloseDocument();
        return std::nullopt;
    }
    long depth = 8;
    long width = kDefaultWidth;
    long height = kDefaultHeight;
    long resolution = kDefaultResolution;
    for (auto why : {ReadWhole(cl, "depth", 8, 16, depth), ReadWhole(cl, "width", 1, kMaxSide, width),
                     ReadWhole(cl, "height", 1, kMaxSide, height),
                     ReadWhole(cl, "ppi", 1, kMaxResolution, resolution)}) {
        if (why) {
            return why;
        }
    }
    if (depth != 8 && depth != 16) {
        return std::string("--depth is 8 or 16");
    }
    Document doc;
    doc.mode = ColourMode::RGB;
    doc.depth = static_cast<int32_t>(depth);
    doc.width = static_cast<int32_t>(width);
    doc.height = static_cast<int32_t>(height);
    doc.resolution = static_cast<double>(resolution);
    if (std::optional<std::string> profile = cl.Value("profile")) {
        doc.profile = *profile;
    }
    host.OpenDocument(std::move(doc));
    return std::nullopt;
}

std::string DescribeDocument(const Document* document) {
    if (document == nullptr) {
        return "none";
    }
    char resolution[32];
    std::snprintf(resolution, sizeof resolution, "%g", document->resolution);
    return std::string(ModeDisplayName(ImageModeOf(*document))) + ", " + std::to_string(document->width) +
           " x " + std::to_string(document->height) + " pixels at " + resolution + " ppi, " +
           document->profile;
}

} // namespace vhost::cli
