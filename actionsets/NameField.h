// Copying a name into a fixed 256-byte text field, as the run context, the
// dialog and the stored parameters hold them. Names read from a stream may be
// longer than 255 bytes; every copy into such a field goes through here.
#pragma once

#include <cstddef>
#include <string_view>

namespace vlh {

constexpr size_t kNameFieldSize = 256;

// Copies text into field and terminates it with a zero byte. A text of up to
// kNameFieldSize - 1 bytes is copied whole and the result is true. A longer
// one is cut to kNameFieldSize - 1 bytes (the field stays a valid text) and
// the result is false, so the caller can refuse it instead. Bytes after the
// terminator are left as they were.
bool CopyToNameField(char (&field)[kNameFieldSize], std::string_view text) noexcept;

} // namespace vlh
