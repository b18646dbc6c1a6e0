// Reads a scripting terminology ("AETE", Windows form): a 16-bit 1, a byte
// major and minor version, 16-bit language and script codes, a 16-bit suite
// count and the suites; strings are counted, integers little-endian, nothing
// aligned. Events and their parameters are kept; classes, comparison
// operators and enumerations are checked for form and passed over.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vhost {

struct ScriptingParameter {
    std::string name;
    uint32_t key = 0;
    uint32_t type = 0;
    std::string description;
    uint16_t flags = 0;
};

struct TerminologyEvent {
    std::string name;
    std::string description;
    uint32_t classID = 0;
    uint32_t eventID = 0;
    uint32_t replyType = 0;
    uint32_t directType = 0;
    uint16_t directFlags = 0;
    std::vector<ScriptingParameter> parameters;
};

struct TerminologySuite {
    std::string name;
    std::string description;
    uint32_t id = 0;
    std::vector<TerminologyEvent> events;
};

struct TerminologyResource {
    uint8_t majorVersion = 0;
    uint8_t minorVersion = 0;
    std::vector<TerminologySuite> suites;
};

// Throws ResourceError, prefixed with what, when the bytes run short, the
// prefix is not 1, or bytes are left after the last suite.
TerminologyResource ReadTerminology(std::span<const uint8_t> bytes, const std::string& what);

// The first event of that class and ID in any suite, or null.
const TerminologyEvent* FindEvent(const TerminologyResource& terminology, uint32_t classID, uint32_t eventID);

} // namespace vhost
