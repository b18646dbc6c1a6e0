// The in-memory recipe model read from one stored stream: a Set holds
// Effects, an Effect holds recorded events, an event may carry a recorded
// descriptor. Everything is owned top-down; names are 8-bit texts compared
// byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "actionsets/DescriptorBody.h"
#include "actionsets/StoredStreamReader.h"

namespace vlh {

struct ActionEvent {
    std::string eventName;   // string ID handed to the host when the event plays
    std::string displayName; // kept, never played
    std::unique_ptr<DescriptorBody> descriptor;
    bool expanded = false;
    bool enabled = false;
    bool withDialog = false;
    uint8_t dialogOptions = 0;
};

struct Effect {
    std::string name;
    int32_t functionKeyIndex = 0;
    bool shift = false;
    bool command = false;
    bool expanded = false;
    int32_t colourIndex = 0;
    std::vector<std::unique_ptr<ActionEvent>> events;
};

struct ActionSet {
    // The reader the Set was read from; open only while LoadActionSet runs.
    std::unique_ptr<StoredStreamReader> reader;
    std::string name; // a trailing ".ATN" in any letter case removed
    bool expanded = false;
    std::vector<std::unique_ptr<Effect>> effects;
};

// The Sets of one plug-in, in catalogue order.
using ActionSetList = std::vector<std::unique_ptr<ActionSet>>;

// The only version of the layout that is read.
constexpr int32_t kActionSetVersion = 16;

// What a failed load found wrong, and where; filled by LoadActionSet on
// failure. On success what stays empty and the offsets say how far the Set
// reached (the plain bytes it took and the stored bytes consumed).
struct LoadDiagnostics {
    std::string what;
    uint64_t plainOffset = 0;
    uint64_t storedOffset = 0;
};

// Reads one Set from the stored stream of size bytes at source into an empty
// Set. True when the whole Set was read. On false the Set may hold part of
// what was read; the caller destroys it. Never raises.
bool LoadActionSet(ActionSet& set, const uint8_t* source, size_t size,
                   LoadDiagnostics* diagnostics = nullptr);

// Moves every Effect of donor, in order, to the end of target's list.
void AppendEffects(ActionSet& target, ActionSet& donor);

// Merges Sets of equal name: each later Set's Effects go to the end of its
// first namesake, which keeps its place; the later Set leaves the list.
void MergeEqualSets(ActionSetList& sets);

// First Set, in list order, whose name equals name byte for byte; or none.
ActionSet* FindSet(const ActionSetList& sets, std::string_view name);
// First Effect of the Set, in list order, whose name equals name byte for
// byte; or none.
Effect* FindEffect(const ActionSet& set, std::string_view name);

} // namespace vlh
