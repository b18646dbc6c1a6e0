// libvips start-up for the engine. Every entry point that touches pixels calls
// StartVips() first; it starts the library once per process.
#pragma once

#include <exception>
#include <string>

namespace vhost::engine {

// Starts libvips the first time it is called; later calls do nothing. Throws
// EngineError when the library cannot start.
void StartVips();

// The first line of a libvips failure's message (or of any exception's), for
// an error message of our own. Clears libvips' error buffer, which otherwise
// collects every failure of the process.
std::string VipsMessage(const std::exception& failure);

} // namespace vhost::engine
