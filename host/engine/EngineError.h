// The one failure the engine raises: a host result code with a readable
// message. Play handlers hand the code back to the module; the command line
// shows the message.
//
// Codes (host values):
//   kParamErr            -50     a file that cannot be read or written, an
//                                 image mode the plug-ins are not enabled for
//   kMissingParameter    -1715   a required key absent from a descriptor
//   kEventNotAvailable   -25920  an event the engine does not know, or one that
//                                 cannot apply now (no document, no layer below)
//   kReferenceNotFound   -25922  a reference to a layer that does not exist
//   kInvalidParameters   -25923  a key the event does not take, a value of the
//                                 wrong type or unit, out of range, or an
//                                 unknown enumeration value
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vhost::engine {

namespace code {
constexpr int16_t kParamErr = -50;
constexpr int16_t kMissingParameter = -1715;
constexpr int16_t kEventNotAvailable = -25920;
constexpr int16_t kReferenceNotFound = -25922;
constexpr int16_t kInvalidParameters = -25923;
} // namespace code

class EngineError : public std::runtime_error {
public:
    EngineError(int16_t code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int16_t Code() const noexcept { return code_; }

private:
    int16_t code_;
};

} // namespace vhost::engine
