// `vellicor run IMAGE -o OUT`: one image file through one plug-in, in this
// process. The image becomes the host's document (refused before the module
// is called when the plug-ins are not enabled for its mode), the plug-in
// plays its Effect on it with the host's image engine, and only when
// everything went well is the result written: under a temporary name in
// OUT's folder, renamed into place at the end, so a failure leaves the image
// and any earlier OUT as they were.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "host/cli/RunOutputs.h"
#include "host/cli/RunSession.h"

namespace vhost::cli {

struct ImageOutcome {
    int status = 1;                    // 0 when the result was written
    std::string failure;               // why not, in words
    std::optional<AskedChoice> chosen; // the Set and Effect the plug-in handed back
};

// Runs the request of `settings` on target.input and writes target.output
// (in the format its extension names, at the image's depth, with its profile,
// resolution and alpha). The run's report goes to `report`; a progress bar to
// the terminal when the work takes longer than a moment.
ImageOutcome RunOnImage(const RunSettings& settings, const ImageTarget& target, bool overwrite,
                        std::ostream& report);

} // namespace vhost::cli
