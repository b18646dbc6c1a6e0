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
    Difference,
    LinearDodge,
    LinearBurn,
};

// The mode of an enumeration value of type 'BlnM': 'Nrml', 'Drkn', 'Lghn',
// 'Mltp', 'Scrn', 'Ovrl', 'SftL', 'HrdL', 'LnrL', 'Lmns', 'Dfrn'. std::nullopt
// for any other value. Linear dodge and linear burn have no code: the host
// records them by string ID ("linearDodge", "linearBurn").
std::optional<BlendMode> BlendModeFromCode(uint32_t code);

// The same by the value's string ID ("normal", "linearLight", ...), for a
// value the host handed out at run time.
std::optional<BlendMode> BlendModeFromStringID(std::string_view stringID);

// The mode's enumeration code; 0 for a mode the host knows by string ID only.
uint32_t BlendModeCode(BlendMode mode);

// A readable name ("linear light").
std::string_view BlendModeName(BlendMode mode);

} // namespace vhost::engine
