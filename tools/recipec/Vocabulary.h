// The events a recipe may play, each with the parameters it takes, their
// types, units, enumerations and ranges, and how its recorded descriptor is
// laid out. This is the contract between the recipes, the host's event engine
// and the tests: nothing outside it can be compiled.
#pragma once

#include <span>
#include <string_view>

namespace vtools {

enum class ValueType {
    Percent, // unit double '#Prc', written 120%
    Pixels,  // unit double '#Pxl', written 0.8px
    Integer, // 'long', written 4
    Text,    // 'TEXT', written "..."
    Enum,    // 'enum' of the parameter's enumeration type, written as its value code (Lmns)
    Layer,   // reference to a layer: by name ("...") or by ordinal (Bckw, Frwr)
};

struct ParameterSpec {
    std::string_view key; // as written: "Amnt", "Rds", "null"; stored blank-padded to four
    ValueType type;
    double min = 0; // Percent, Pixels, Integer: inclusive range
    double max = 0;
    std::string_view enumType{}; // Enum: the enumeration's type code; Layer: the ordinal type
    std::span<const std::string_view> enumValues{}; // Enum, Layer ordinals
    bool required = false;
};

// Where an event's parameters go in its recorded descriptor.
enum class EventShape {
    Plain,       // the parameters are the items; no parameters at all: no descriptor
    TargetLayer, // 'null' = the target layer, then the parameters
    LayerObject, // 'null' = the target layer, 'T   ' = an object of class 'Lyr ' holding them
};

struct EventSpec {
    std::string_view stringId;    // the event name handed to the host
    std::string_view displayName; // kept with the event for people reading the stream
    EventShape shape;
    std::span<const ParameterSpec> parameters; // in the order they are recorded
    bool needsAParameter = false;              // at least one parameter must be given
};

// Longest name of a Set, an Effect or a layer, in bytes: the module holds
// names in 256-byte fields.
constexpr size_t kMaxNameBytes = 255;

// The event of that string ID (exact, case counts), or null.
const EventSpec* FindEvent(std::string_view stringId);
// The parameter of that key as written (exact), or null.
const ParameterSpec* FindParameter(const EventSpec& event, std::string_view key);
// Every event, in a stable order (for messages).
std::span<const EventSpec> Events();

// The key as stored: padded with blanks to four characters.
std::string_view PaddedKey(std::string_view key, char (&buffer)[5]);

} // namespace vtools
