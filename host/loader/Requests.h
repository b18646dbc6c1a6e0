// The requests the host sends a plug-in and what comes back.
#pragma once

#include <optional>

#include "host/core/ObjectModel.h"
#include "plugin/HostInterface.h"

namespace vhost {

// A "Do It" request: the PIActionParameters the module receives. The
// descriptor, when present, is handed in as a new host descriptor.
struct DoItRequest {
    PIDialogPlayOptions playInfo = plugInDialogDontDisplay;
    PIDialogRecordOptions recordInfo = plugInDialogOptional;
    std::optional<Descriptor> descriptor;
};

struct DoItResult {
    SPErr result = 0;
    PIDialogRecordOptions recordInfo = plugInDialogOptional; // as the module left it
    // A copy of the descriptor the module left in the parameters (the input,
    // if it left that in place); empty when it left none or an invalid handle.
    std::optional<Descriptor> descriptor;
};

} // namespace vhost
