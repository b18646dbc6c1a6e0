// Where the results of `vellicor run IMAGE... -o OUT` go.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vhost::cli {

struct ImageTarget {
    std::string input;
    std::string output;
};

// The file formats a result can be written in, by the output's extension
// (letter case aside): .tif, .tiff, .png, .jpg, .jpeg.
bool IsImageFileName(const std::string& path);

// Plans each image's output. One image: `output` is the result file, or, when
// it is an existing folder, the result keeps the image's name in it. Several
// images: `output` is a folder (made later when missing) and every result
// keeps its image's name there. Says why the plan is unusable: an output
// whose extension names no format, a result that would be written over its
// own image without `overwrite`, two images of one name into one folder, an
// output for several images that is an existing file.
std::optional<std::string> PlanOutputs(const std::vector<std::string>& images, const std::string& output,
                                       bool overwrite, std::vector<ImageTarget>& targets);

} // namespace vhost::cli
