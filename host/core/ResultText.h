// Result codes in words, for people: "0 (ok)", "-30900 (host insufficient)",
// "'Parm' (bad parameter)". Codes that spell four printable characters are
// shown as such.
#pragma once

#include <cstdint>
#include <string>

namespace vhost {

// The words for a known code, or "" for an unknown one.
std::string ResultWords(int32_t code);
// The code (as a number or a quoted four-character code) and its words.
std::string ResultText(int32_t code);

} // namespace vhost
