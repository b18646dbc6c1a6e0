// The words of `vellicor run IMAGE... -o OUT [options]` sorted out before the
// options are parsed: the images among the options, "-o" as "--output", and
// the options a worker process is given for one image of several.
#pragma once

#include <string>
#include <vector>

namespace vhost::cli {

struct SplitArguments {
    std::vector<std::string> options; // "--name value" and flags, as given
    std::vector<std::string> images;  // in the order given
};

// A word that is not an option and not the value of the option before it is
// an image; after "--" every word is an image. "-o OUT" (or "-oOUT") becomes
// "--output OUT". flags names the options that take no value. Anything else
// starting with "-" is left among the options for the parser to complain
// about.
SplitArguments SplitImages(const std::vector<std::string>& args, const std::vector<std::string>& flags);

// The options without those named in `drop` (with their values; "--name=value"
// included).
std::vector<std::string> WithoutOptions(const std::vector<std::string>& options,
                                        const std::vector<std::string>& drop,
                                        const std::vector<std::string>& flags);

} // namespace vhost::cli
