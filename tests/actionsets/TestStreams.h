// Helpers shared by the action-set tests: every stream is made with our own
// writer, then loaded through the module's reader.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "actionsets/ActionSet.h"
#include "tools/actionwriter/ActionModel.h"
#include "tools/actionwriter/ActionWriter.h"

namespace vlh::test {

using vtools::Bytes;

struct Loaded {
    bool ok = false;
    std::unique_ptr<ActionSet> set = std::make_unique<ActionSet>();
    LoadDiagnostics diagnostics;
};

Loaded LoadStored(const Bytes& stored);
Loaded LoadModel(const vtools::SetModel& model);

// A Set "Test" holding one Effect "E" holding the events given.
vtools::SetModel SetWithEvents(std::vector<vtools::EventModel> events);
// A Set "Test" whose one event "set" carries the descriptor given.
vtools::SetModel SetWithDescriptor(vtools::DescriptorModel body);
// A descriptor of class 'null' holding one item under key 'Key '.
vtools::DescriptorModel OneItem(vtools::ValueModel value);

// The event descriptor of the first event of the first Effect.
const DescriptorBody& FirstDescriptor(const ActionSet& set);

// Deterministic bytes that do not compress.
Bytes NoiseBytes(size_t count, uint32_t seed);

} // namespace vlh::test
