// The description of an embedded ICC profile, as the document reports it for
// its profile name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vhost::engine {

// The text of the profile's 'desc' tag: the ASCII text of a version 2
// textDescriptionType, or the English (else the first) record of a version 4
// multiLocalizedUnicodeType, as UTF-8. Trailing NULs and blanks are dropped.
// std::nullopt when the bytes are not a profile with a readable description.
// The bytes are treated as hostile: every offset and length is checked against
// what is there.
std::optional<std::string> IccDescription(std::string_view profile);

} // namespace vhost::engine
