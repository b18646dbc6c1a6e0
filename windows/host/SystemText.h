// Texts the Windows host needs from the system: error messages and paths in
// the system's own form.
#pragma once

#include <cstdint>
#include <string>

namespace vhost {

// The system's message for an error code, without the trailing line break,
// followed by the code itself: "The system cannot find the file specified.
// (error 2)".
std::string SystemErrorText(uint32_t code);

// path with forward slashes turned into backslashes, as the system's
// functions document them. A path rooted at "/" (a build path handed over
// from the POSIX side under wine) is left rooted on the current drive.
std::string WindowsPath(std::string path);

} // namespace vhost
