// `vellicor run IMAGE IMAGE... -o FOLDER`: several images, each in a worker
// process of its own (`vellicor run IMAGE -o FILE` with the same options), one
// after another or several at a time. Separate processes, because the module
// keeps module-wide state: one process never has two requests in flight.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/cli/RunOutputs.h"
#include "host/cli/RunSession.h"

namespace vhost::cli {

struct BatchPlan {
    std::vector<ImageTarget> targets;
    std::string folder;               // made when missing
    std::vector<std::string> options; // what every worker is given besides its image
    int jobs = 1;                     // workers at a time
    bool overwrite = false;
};

// The number of workers when none is asked for: two, or one on a machine
// with one core.
int DefaultJobs();

// Runs the plan and says on `out`, one line per image, what became of it,
// then how many were written. With the dialog asked for, the first image is
// run in this process first, and the Set and Effect chosen there are given
// to the workers for the others. Returns 0 when every image was written, 1
// otherwise.
int RunBatch(const BatchPlan& plan, const RunSettings& settings, std::ostream& out);

} // namespace vhost::cli
