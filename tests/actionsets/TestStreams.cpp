#include "tests/actionsets/TestStreams.h"

#include <random>
#include <stdexcept>

namespace vlh::test {

Loaded LoadStored(const Bytes& stored) {
    Loaded loaded;
    loaded.ok = LoadActionSet(*loaded.set, stored.data(), stored.size(), &loaded.diagnostics);
    return loaded;
}

Loaded LoadModel(const vtools::SetModel& model) {
    return LoadStored(vtools::WriteStoredSet(model));
}

vtools::SetModel SetWithEvents(std::vector<vtools::EventModel> events) {
    return vtools::SetModel::Named("Test", {vtools::EffectModel::Named("E", std::move(events))});
}

vtools::SetModel SetWithDescriptor(vtools::DescriptorModel body) {
    return SetWithEvents({vtools::EventModel::Named("set", std::move(body))});
}

vtools::DescriptorModel OneItem(vtools::ValueModel value) {
    return vtools::DescriptorModel::Of(vtools::IdField::Code("null"),
                                       {{vtools::IdField::Code("Key "), std::move(value)}});
}

const DescriptorBody& FirstDescriptor(const ActionSet& set) {
    const ActionEvent& event = *set.effects.at(0)->events.at(0);
    if (event.descriptor == nullptr) {
        throw std::logic_error("the first event has no descriptor");
    }
    return *event.descriptor;
}

Bytes NoiseBytes(size_t count, uint32_t seed) {
    std::mt19937 engine(seed);
    Bytes bytes(count);
    for (uint8_t& b : bytes) {
        b = uint8_t(engine() >> 24);
    }
    return bytes;
}

} // namespace vlh::test
