#include "host/engine/BlendMode.h"

#include <array>

#include "hostapi/FourCharCode.h"

namespace vhost::engine {

namespace {

using vlh::FourCC;

struct ModeEntry {
    BlendMode mode;
    uint32_t code;
    std::string_view stringID;
    std::string_view name;
};

constexpr std::array<ModeEntry, 13> kModes{{
    {BlendMode::Normal, FourCC("Nrml"), "normal", "normal"},
    {BlendMode::Darken, FourCC("Drkn"), "darken", "darken"},
    {BlendMode::Lighten, FourCC("Lghn"), "lighten", "lighten"},
    {BlendMode::Multiply, FourCC("Mltp"), "multiply", "multiply"},
    {BlendMode::Screen, FourCC("Scrn"), "screen", "screen"},
    {BlendMode::Overlay, FourCC("Ovrl"), "overlay", "overlay"},
    {BlendMode::SoftLight, FourCC("SftL"), "softLight", "soft light"},
    {BlendMode::HardLight, FourCC("HrdL"), "hardLight", "hard light"},
    {BlendMode::LinearLight, FourCC("LnrL"), "linearLight", "linear light"},
    {BlendMode::Luminosity, FourCC("Lmns"), "luminosity", "luminosity"},
    {BlendMode::Difference, FourCC("Dfrn"), "difference", "difference"},
    {BlendMode::LinearDodge, 0, "linearDodge", "linear dodge"},
    {BlendMode::LinearBurn, 0, "linearBurn", "linear burn"},
}};

const ModeEntry& EntryOf(BlendMode mode) {
    for (const ModeEntry& entry : kModes) {
        if (entry.mode == mode) {
            return entry;
        }
    }
    return kModes[0];
}

} // namespace

std::optional<BlendMode> BlendModeFromCode(uint32_t code) {
    for (const ModeEntry& entry : kModes) {
        if (entry.code != 0 && entry.code == code) {
            return entry.mode;
        }
    }
    return std::nullopt;
}

std::optional<BlendMode> BlendModeFromStringID(std::string_view stringID) {
    for (const ModeEntry& entry : kModes) {
        if (entry.stringID == stringID) {
            return entry.mode;
        }
    }
    return std::nullopt;
}

uint32_t BlendModeCode(BlendMode mode) {
    return EntryOf(mode).code;
}

std::string_view BlendModeName(BlendMode mode) {
    return EntryOf(mode).name;
}

} // namespace vhost::engine
