#include "catalogue/Catalogue.h"

#include "catalogue/Requirement.h"

#include <cstring>

namespace vlh {

namespace {

// Every plug-in needs a host of major version 6 or later.
constexpr const char* kHostVersion6[] = {"PSVersion", "6", ">="};

const PluginRecord kPluginRecords[] = {
    {"Vellicor Capture Honer", kCaptureStoredSets, kCaptureStoredSetCount, kHostVersion6, 3},
    {"Vellicor Creative Honer", kCreativeStoredSets, kCreativeStoredSetCount, kHostVersion6, 3},
    {"Vellicor Output Honer", kOutputStoredSets, kOutputStoredSetCount, kHostVersion6, 3},
    {"Vellicor Capture Honer Expert", kCaptureExpertStoredSets, kCaptureExpertStoredSetCount, kHostVersion6, 3},
};

void LoadRecordSets(ActionSetList& sets, const PluginRecord& record) {
    for (int32_t i = 0; i < record.storedSetCount; ++i) {
        auto set = std::make_unique<ActionSet>();
        // A Set that does not load is left out; the others are still offered.
        if (LoadActionSet(*set, record.storedSets[i].bytes, record.storedSets[i].size)) {
            sets.push_back(std::move(set));
        }
    }
}

} // namespace

std::span<const PluginRecord> PluginRecords() { return kPluginRecords; }

bool LoadPluginSets(RunContext& run) { return LoadPluginSets(run, PluginRecords()); }

bool LoadPluginSets(RunContext& run, std::span<const PluginRecord> records) {
    for (const PluginRecord& record : records) {
        if (std::strcmp(run.pluginName, record.name) != 0) {
            continue;
        }
        if (EvaluateRequirement(record.requirement, record.requirementTokenCount)) {
            LoadRecordSets(run.sets, record);
        }
    }
    MergeEqualSets(run.sets);
    return !run.sets.empty();
}

} // namespace vlh
