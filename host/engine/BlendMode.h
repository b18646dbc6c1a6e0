// Layer blend modes and their enumeration codes (type 'BlnM').
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vhost::engine {

enum class BlendMode {
    Normal,
    Darken,
    Lighten,
    Multiply,
    Screen,
    Overlay,
    SoftLight,
    HardLight,
    LinearLight,
    Luminosity,
};

// The mode of an enumeration value of type 'BlnM': 'Nrml', 'Drkn', 'Lghn',
// 'Mltp', 'Scrn', 'Ovrl', 'SftL', 'HrdL', 'LnrL', 'Lmns'. std::nullopt for any
// other value.
std::optional<BlendMode> BlendModeFromCode(uint32_t code);

// The same by the value's string ID ("normal", "linearLight", ...), for a
// value the host handed out at run time.
std::optional<BlendMode> BlendModeFromStringID(std::string_view stringID);

// The mode's enumeration code.
uint32_t BlendModeCode(BlendMode mode);

// A readable name ("linear light").
std::string_view BlendModeName(BlendMode mode);

} // namespace vhost::engine
