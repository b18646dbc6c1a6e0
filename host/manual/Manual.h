// The user manual: a PDF made from the module itself. Its plug-ins, Sets and
// Effects are read from the module file, each Effect is described from its
// recorded events, and each is run through the module by the host to show
// its effect on a sample picture.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vhost::manual {

// The manual's file name, in the folder vlh_help beside the module.
constexpr const char* kManualFileName = "Honer-Manual-123.pdf";

struct ManualRequest {
    std::string modulePath; // Honer.8li
    std::string outputPath; // the PDF to write
    std::string version;    // printed on the cover
    // Told of progress ("Vellicor Capture Honer: 48 Effects run"); may be empty.
    std::function<void(const std::string&)> progress;
};

struct ManualSummary {
    int pages = 0;
    size_t plugins = 0;
    size_t sets = 0;
    size_t effects = 0;
    std::vector<std::string> warnings;
};

// Writes the manual. The file appears complete or not at all: it is written
// under a temporary name beside the output and renamed into place. Throws
// ManualError: the module cannot be read or offers nothing, an Effect fails
// to run, the host is left holding objects afterwards, the text does not fit
// its pages, or the file cannot be written.
ManualSummary WriteManual(const ManualRequest& request);

} // namespace vhost::manual
