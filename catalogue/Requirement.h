// Requirements of the catalogue: short postfix expressions over live host
// values that must hold before a plug-in's Sets are offered, such as
// "PSVersion", "6", ">=" (a host of major version 6 or later).
//
// Tokens, in array order:
//   "PSVersion"   the host's major version (a number; 0 when unreadable)
//   "DocProfile"  the active document's colour profile name ("None" without one)
//   a letter...   any other token that begins with a letter is a string
//   a digit...    a number, its leading numeric part ("6.5", "12abc" is 12)
//   operators     "==" "!=" ">=" "<=" ">" "<" "&&" "||" and "," (builds a flat list)
// Anything else, a kind mismatch, too few operands, or a final value that is
// a string or a list makes the requirement false.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vlh {

struct RequirementValue {
    enum class Kind { Boolean = 1, Number = 2, String = 3, List = 4 };
    Kind kind = Kind::Boolean;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<RequirementValue> elements; // a list never holds a list
};

// True when the expression of `count` tokens holds on this host.
bool EvaluateRequirement(const char* const* tokens, int32_t count);

// The active document's colour profile name into buffer, or "None" when
// there is no document, no profile, or the name cannot be read.
void GetDocumentProfile(char* buffer, uint32_t capacity);

} // namespace vlh
