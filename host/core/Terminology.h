// The host's string IDs and their type IDs. Known terms map to their
// four-character codes; a string ID the table does not know (string-only terms
// such as "colorSettings" among them) gets a fresh run-time ID the first time
// it is asked for, stable for the life of this Terminology. Run-time IDs count
// up from kFirstRuntimeID, outside the printable code space.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace vhost {

class Terminology {
public:
    static constexpr uint32_t kFirstRuntimeID = 0x7F000000;

    Terminology();

    // The type ID of a string ID (an unknown string gets a new run-time ID).
    // std::nullopt for an empty string, or when the run-time IDs are used up.
    std::optional<uint32_t> ToTypeID(const std::string& stringID);

    // The string ID of a type ID: the table's string for a code (for 'null',
    // shared by "null" and "target", it is "null"), or the string a run-time ID
    // was made for. std::nullopt for a plain code with no string.
    std::optional<std::string> ToStringID(uint32_t typeID) const;

    // True for an ID handed out at run time.
    static bool IsRuntimeID(uint32_t typeID) { return typeID >= kFirstRuntimeID && typeID < 0x80000000u; }

private:
    std::map<std::string, uint32_t> byString_;
    std::map<uint32_t, std::string> byID_;
    uint32_t nextRuntime_ = kFirstRuntimeID;
};

} // namespace vhost
