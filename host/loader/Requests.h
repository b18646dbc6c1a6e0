// The requests the host sends a plug-in and what comes back.
#pragma once

#include <optional>
#include <string>

#include "host/core/ObjectModel.h"
#include "hostapi/HostInterface.h"

namespace vhost {

// A "Do It" request: the PIActionParameters the module receives. The
// descriptor, when present, is handed in as a new host descriptor.
struct DoItRequest {
    PIDialogPlayOptions playInfo = plugInDialogDontDisplay;
    PIDialogRecordOptions recordInfo = plugInDialogOptional;
    std::optional<Descriptor> descriptor;
};

// The result of a request the host refused before calling the module: the
// plug-in is not enabled for the active document (the real host greys it out).
constexpr SPErr kRequestRefused = 0x44736162; // 'Dsab'

struct DoItResult {
    SPErr result = 0;
    // Why the host did not call the module (result is then kRequestRefused).
    std::optional<std::string> refusal;
    PIDialogRecordOptions recordInfo = plugInDialogOptional; // as the module left it
    // A copy of the descriptor the module left in the parameters (the input,
    // if it left that in place); empty when it left none or an invalid handle.
    std::optional<Descriptor> descriptor;
};

} // namespace vhost
