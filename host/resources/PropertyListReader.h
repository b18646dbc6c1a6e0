// Reads a plug-in property list ("PIPL", Windows form): a 16-bit 1, a 32-bit
// list version 0, a 32-bit count, then the properties, each a vendor code, a
// key, a 32-bit ID, a 32-bit length and the data padded to a multiple of 4.
// The properties a host needs for an automation plug-in are decoded; others
// are skipped. Whether they make a usable plug-in is judged at registration.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vhost {

// The 'hstm' property: how the plug-in is scripted.
struct TerminologyLink {
    uint32_t classID = 0;
    uint32_t eventID = 0;
    uint16_t terminologyID = 0; // ID of the terminology resource
    std::string scope;          // the plug-in's string ID for scripting
};

struct PropertyList {
    std::optional<uint32_t> kind;               // 'kind'
    std::optional<std::string> name;            // 'name': the menu name
    std::optional<std::string> category;        // 'catg'
    std::optional<uint32_t> version;            // 'vers': major << 16 | minor
    std::optional<std::string> entryX86;        // 'wx86'
    std::optional<std::string> entryX64;        // '8664'
    std::optional<TerminologyLink> terminology; // 'hstm'
    std::optional<uint16_t> modes;              // 'mode': first flag (bitmap) in the top bit
    std::optional<std::string> enable;          // 'enbl'
};

// Throws ResourceError, prefixed with what, on a malformed list: a wrong
// prefix or version, a count that does not match the properties present, a
// length past the end, a vendor other than '8BIM', a property given twice or
// one whose data does not have its form.
PropertyList ReadPropertyList(std::span<const uint8_t> bytes, const std::string& what);

} // namespace vhost
