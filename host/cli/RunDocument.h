// The document of `vellicor run` without images: an empty RGB document
// described by options (image files are opened by RunImage).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vhost {
class Host;
struct Document;
} // namespace vhost

namespace vhost::cli {

class CommandLine;

// The options this file reads, for the command's list of known options.
const std::vector<std::string>& DocumentOptionNames();
// Those of them that take no value.
const std::vector<std::string>& DocumentFlagNames();

// Opens the run's document in host from the options: RGB, --depth 8|16
// (default 8), --width and --height in pixels (default 3000 x 2000), --ppi
// (default 300), --profile (default sRGB); with --no-document none is opened.
// Returns why an option is unusable, or std::nullopt when all went well.
std::optional<std::string> OpenRunDocument(const CommandLine& cl, Host& host);

// One line for the report, e.g. "RGB Color, 3000 x 2000 pixels at 300 ppi,
// sRGB IEC61966-2.1", or "none".
std::string DescribeDocument(const Document* document);

} // namespace vhost::cli
