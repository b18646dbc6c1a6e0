#include "tools/recipec/Vocabulary.h"

#include <algorithm>
#include <array>

namespace vtools {

namespace {

// Modes without a four-character code are written by their string ID.
constexpr std::string_view kBlendModes[] = {"Nrml", "Drkn", "Lghn", "Mltp",        "Scrn",      "Ovrl", "SftL",
                                            "HrdL", "LnrL", "Lmns", "Dfrn", "linearDodge", "linearBurn"};
constexpr std::string_view kLayerOrdinals[] = {"Bckw", "Frwr"};
constexpr std::string_view kPurgeItems[] = {"Clpb"};

// Ranges the host accepts; a recipe outside them would fail when it plays.
constexpr double kMinRadius = 0.1;
constexpr double kMaxRadius = 250;

constexpr ParameterSpec kDuplicate[] = {
    {.key = "Nm", .type = ValueType::Text},
};
constexpr ParameterSpec kSetLayer[] = {
    {.key = "Md", .type = ValueType::Enum, .enumType = "BlnM", .enumValues = kBlendModes},
    {.key = "Opct", .type = ValueType::Percent, .min = 0, .max = 100},
    {.key = "Nm", .type = ValueType::Text},
};
constexpr ParameterSpec kUnsharpMask[] = {
    {.key = "Amnt", .type = ValueType::Percent, .min = 1, .max = 500, .required = true},
    {.key = "Rds", .type = ValueType::Pixels, .min = kMinRadius, .max = kMaxRadius, .required = true},
    {.key = "Thsh", .type = ValueType::Integer, .min = 0, .max = 255, .required = true},
};
constexpr ParameterSpec kRadiusOnly[] = {
    {.key = "Rds", .type = ValueType::Pixels, .min = kMinRadius, .max = kMaxRadius, .required = true},
};
constexpr ParameterSpec kSelectLayer[] = {
    {.key = "null",
     .type = ValueType::Layer,
     .enumType = "Ordn",
     .enumValues = kLayerOrdinals,
     .required = true},
};
constexpr ParameterSpec kPurge[] = {
    {.key = "null", .type = ValueType::Enum, .enumType = "PrgI", .enumValues = kPurgeItems, .required = true},
};

constexpr EventSpec kEvents[] = {
    {"duplicate", "Duplicate", EventShape::TargetLayer, kDuplicate, false},
    {"set", "Set", EventShape::LayerObject, kSetLayer, true},
    {"unsharpMask", "Unsharp Mask", EventShape::Plain, kUnsharpMask, false},
    {"highPass", "High Pass", EventShape::Plain, kRadiusOnly, false},
    {"gaussianBlur", "Gaussian Blur", EventShape::Plain, kRadiusOnly, false},
    {"desaturate", "Desaturate", EventShape::Plain, {}, false},
    {"invert", "Invert", EventShape::Plain, {}, false},
    {"select", "Select", EventShape::Plain, kSelectLayer, false},
    {"mergeLayersNew", "Merge Layers", EventShape::Plain, {}, false},
    {"flattenImage", "Flatten Image", EventShape::Plain, {}, false},
    {"purge", "Purge", EventShape::Plain, kPurge, false},
};

} // namespace

const EventSpec* FindEvent(std::string_view stringId) {
    const auto* found = std::find_if(std::begin(kEvents), std::end(kEvents),
                                     [&](const EventSpec& e) { return e.stringId == stringId; });
    return found != std::end(kEvents) ? found : nullptr;
}

const ParameterSpec* FindParameter(const EventSpec& event, std::string_view key) {
    const auto found = std::find_if(event.parameters.begin(), event.parameters.end(),
                                    [&](const ParameterSpec& p) { return p.key == key; });
    return found != event.parameters.end() ? &*found : nullptr;
}

std::span<const EventSpec> Events() {
    return kEvents;
}

std::string_view PaddedKey(std::string_view key, char (&buffer)[5]) {
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    buffer[4] = '\0';
    std::copy_n(key.begin(), std::min<size_t>(key.size(), 4), buffer);
    return {buffer, 4};
}

} // namespace vtools
