// A plug-in's enable expression, as far as this host understands one:
//
//   true | false | in(PSHOP_ImageMode, <mode name>, ...)
//
// with blanks allowed between the parts. in(...) holds when the document's
// image mode is one of the names; without a document it does not hold.
#pragma once

#include "host/resources/ImageMode.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace vhost {

class EnableCondition {
public:
    // Always true (a plug-in without an expression).
    EnableCondition() = default;

    // Throws ResourceError naming the expression and what was not understood.
    static EnableCondition Parse(std::string_view expression);

    bool Allows(std::optional<ImageMode> documentMode) const;

    // Whether the result depends on the image mode, and if so the modes allowed.
    bool ChecksMode() const { return checksMode_; }
    uint16_t AllowedModes() const { return allowed_; }

private:
    bool checksMode_ = false;
    bool constant_ = true; // the result when the mode is not checked
    uint16_t allowed_ = 0; // mode flags when it is
};

} // namespace vhost
