#include "host/engine/BlendMode.h"

#include <array>

namespace vhost::engine {

namespace {

struct ModeEntry {
    BlendMode mode;
    uint32_t code;
    std::string_view stringID;
    std::string_view name;
};

constexpr uint32_t Code(const char (&c)[5]) {
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 | uint32_t(uint8_t(c[2])) << 8 |
           uint32_t(uint8_t(c[3]));
}

constexpr std::array<ModeEntry, 10> kModes{{
    {BlendMode::Normal, Code("Nrml"), "normal", "normal"},
    {BlendMode::Darken, Code("Drkn"), "darken", "darken"},
    {BlendMode::Lighten, Code("Lghn"), "lighten", "lighten"},
    {BlendMode::Multiply, Code("Mltp"), "multiply", "multiply"},
    {BlendMode::Screen, Code("Scrn"), "screen", "screen"},
    {BlendMode::Overlay, Code("Ovrl"), "overlay", "overlay"},
    {BlendMode::SoftLight, Code("SftL"), "softLight", "soft light"},
    {BlendMode::HardLight, Code("HrdL"), "hardLight", "hard light"},
    {BlendMode::LinearLight, Code("LnrL"), "linearLight", "linear light"},
    {BlendMode::Luminosity, Code("Lmns"), "luminosity", "luminosity"},
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
        if (entry.code == code) {
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
