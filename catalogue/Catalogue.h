// The catalogue of the four plug-ins this module registers: which stored
// Sets each offers and which requirement the host must meet first.
#pragma once

#include "actionsets/RunContext.h"
#include "resources/StoredSets.h"

#include <cstdint>
#include <span>

namespace vlh {

struct PluginRecord {
    char name[128];                 // the menu name without its trailing "..."
    const StoredSet* storedSets;    // in the order their Sets are loaded
    int32_t storedSetCount;
    const char* const* requirement; // postfix tokens, see Requirement.h
    int32_t requirementTokenCount;
};

// The four records, in catalogue order: Capture, Creative, Output, Capture Expert.
std::span<const PluginRecord> PluginRecords();

// Fills run.sets with the Sets of the plug-in named run.pluginName (exact,
// case-sensitive): every stored Set that loads, in order, equally named Sets
// merged into their first. Nothing when the name matches no record or the
// record's requirement does not hold. True when at least one Set is offered.
bool LoadPluginSets(RunContext& run);

// The same over any table of records; the catalogue's own is PluginRecords().
bool LoadPluginSets(RunContext& run, std::span<const PluginRecord> records);

} // namespace vlh
