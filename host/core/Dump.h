// Readable one-line texts of host objects, for the event log, the call log and
// the command line. Codes print as 'Nm  '; run-time IDs as $stringID when a
// Terminology is given (else as hex); texts quoted with C escapes; units shown
// after their number. Example:
//   {'null': ref('Lyr ' enum 'Ordn':'Trgt'), 'Opct': 50 '#Prc', 'Nm  ': "Sharp"}
#pragma once

#include <cstdint>
#include <string>

#include "host/core/ObjectModel.h"

namespace vhost {

class Terminology;

std::string CodeText(uint32_t code, const Terminology* terms = nullptr);
std::string QuotedText(const std::string& text);
std::string DumpValue(const Value& v, const Terminology* terms = nullptr);
std::string DumpDescriptor(const Descriptor& d, const Terminology* terms = nullptr);
std::string DumpList(const List& l, const Terminology* terms = nullptr);
std::string DumpReference(const Reference& r, const Terminology* terms = nullptr);

} // namespace vhost
