// Reading an event's descriptor strictly: every read checks the value's type
// (and unit), and a descriptor may hold no key the event does not take.
// Failures are EngineError: kMissingParameter for an absent key,
// kInvalidParameters for anything else. Messages do not name the event; the
// caller does.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "host/core/ObjectModel.h"

namespace vhost::engine {

class LayerStack;

class EventParameters {
public:
    // `descriptor` may be null (an event played without one).
    explicit EventParameters(const Descriptor* descriptor) : descriptor_(descriptor) {}

    // Refuses any key outside `keys`.
    void AllowOnly(std::initializer_list<uint32_t> keys) const;

    bool Has(uint32_t key) const;
    // A unit float in exactly that unit.
    double UnitFloat(uint32_t key, uint32_t unit) const;
    int32_t Integer(uint32_t key) const;
    const std::string& Text(uint32_t key) const;
    const Reference& ReferenceAt(uint32_t key) const;
    // The value of an enumerated value of that enumeration type.
    uint32_t Enumerated(uint32_t key, uint32_t enumType) const;
    // The keys of an object value of that class.
    EventParameters Object(uint32_t key, uint32_t classID) const;

private:
    const Value& Require(uint32_t key, uint32_t type) const;

    const Descriptor* descriptor_;
};

// The layer a reference names: its first form is of class 'Lyr ', either the
// target ('Ordn' 'Trgt'), the layer below or above it ('Ordn' 'Bckw' /
// 'Frwr', only when allowOrdinalSteps), or a layer by name (the topmost of
// that name). A container form may only be the active document ('Dcmn' 'Ordn'
// 'Trgt'). kReferenceNotFound for a layer that is not there,
// kInvalidParameters for any other reference.
size_t ResolveLayer(const Reference& reference, const LayerStack& layers, bool allowOrdinalSteps);

// True when the reference's first form is of class 'Lyr '.
bool NamesALayer(const Reference& reference);

} // namespace vhost::engine
