// One recorded event of an Effect read for the manual: which of the recipes'
// events it is and the parameters it was recorded with, by meaning (amount,
// radius, blend mode, ...). Whatever is recorded beyond what the event is
// known to take is kept in words, so nothing recorded goes unmentioned.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "actionsets/ActionSet.h"

namespace vhost::manual {

enum class EventKind {
    Duplicate,    // "duplicate": copy the target layer above itself
    SetLayer,     // "set" of a layer's blend mode, opacity or name
    UnsharpMask,  // "unsharpMask"
    HighPass,     // "highPass"
    GaussianBlur, // "gaussianBlur"
    Desaturate,   // "desaturate"
    Invert,       // "invert"
    Select,       // "select" of a layer
    MergeDown,    // "mergeLayersNew"
    Flatten,      // "flattenImage"
    Purge,        // "purge" of the clipboard
    Other,        // anything else: described by its recorded name
};

struct EventFacts {
    EventKind kind = EventKind::Other;
    std::string stringID;    // the event as recorded, e.g. "unsharpMask"
    std::string displayName; // as recorded, e.g. "Unsharp Mask"

    std::optional<double> amount;     // per cent ('Amnt')
    std::optional<double> radius;     // pixels ('Rds ')
    std::optional<int32_t> threshold; // levels ('Thsh')
    std::optional<std::string> mode;  // blend mode code ('Md  '), e.g. "Lmns"
    std::optional<double> opacity;    // per cent ('Opct')
    std::optional<std::string> name;  // 'Nm  ': the copy's name, or a layer's new name

    // "select": a layer by name, or a step down ("Bckw") or up ("Frwr").
    std::optional<std::string> layerName;
    std::optional<std::string> ordinal;

    // Recorded values the event is not known to take, in words: "'Xyz ' 3".
    std::vector<std::string> unread;
};

EventFacts ReadEventFacts(const vlh::ActionEvent& event);

// A recorded value in words, for the values no meaning is known for:
// "3", "12.5 #Prc", "“text”", "Lyr  Ordn Trgt", "{'Md  ' Lmns}".
std::string DescribeItem(const vlh::DescriptorItem& item);

// A number as the manual prints it: at most two decimals, no trailing zeros.
std::string FormatNumber(double value);

} // namespace vhost::manual
