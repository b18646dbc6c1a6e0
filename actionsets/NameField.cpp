#include "actionsets/NameField.h"

#include <algorithm>
#include <cstring>

namespace vlh {

bool CopyToNameField(char (&field)[kNameFieldSize], std::string_view text) noexcept {
    const size_t length = std::min(text.size(), kNameFieldSize - 1);
    std::memmove(field, text.data(), length);
    field[length] = '\0';
    return length == text.size();
}

} // namespace vlh
