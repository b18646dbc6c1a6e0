#include "host/engine/EventParameters.h"

#include <algorithm>

#include "host/engine/EngineError.h"
#include "host/engine/EventTerms.h"
#include "host/engine/LayerStack.h"

namespace vhost::engine {

namespace {

std::string Quoted(uint32_t code) {
    return "'" + vlh::FourCCText(code) + "'";
}

} // namespace

void EventParameters::AllowOnly(std::initializer_list<uint32_t> keys) const {
    if (descriptor_ == nullptr) {
        return;
    }
    for (const auto& [key, value] : descriptor_->Items()) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            throw EngineError(code::kInvalidParameters, "no key " + Quoted(key) + " here");
        }
    }
}

bool EventParameters::Has(uint32_t key) const {
    return descriptor_ != nullptr && descriptor_->Has(key);
}

const Value& EventParameters::Require(uint32_t key, uint32_t type) const {
    const Value* value = descriptor_ != nullptr ? descriptor_->Find(key) : nullptr;
    if (value == nullptr) {
        throw EngineError(code::kMissingParameter, "needs " + Quoted(key));
    }
    if (value->Type() != type) {
        throw EngineError(code::kInvalidParameters,
                          Quoted(key) + " is of type " + Quoted(value->Type()) + ", not " + Quoted(type));
    }
    return *value;
}

double EventParameters::UnitFloat(uint32_t key, uint32_t unit) const {
    const Value& value = Require(key, type::kUnitFloat);
    if (value.Unit() != unit) {
        throw EngineError(code::kInvalidParameters,
                          Quoted(key) + " is in " + Quoted(value.Unit()) + ", not " + Quoted(unit));
    }
    return value.Float();
}

int32_t EventParameters::Integer(uint32_t key) const {
    return Require(key, type::kInteger).Integer();
}

const std::string& EventParameters::Text(uint32_t key) const {
    return Require(key, type::kText).Text();
}

const Reference& EventParameters::ReferenceAt(uint32_t key) const {
    return Require(key, type::kReference).ReferenceValue();
}

uint32_t EventParameters::Enumerated(uint32_t key, uint32_t enumType) const {
    const Value& value = Require(key, type::kEnumerated);
    if (value.EnumType() != enumType) {
        throw EngineError(code::kInvalidParameters, Quoted(key) + " is of enumeration " +
                                                        Quoted(value.EnumType()) + ", not " +
                                                        Quoted(enumType));
    }
    return value.EnumValue();
}

EventParameters EventParameters::Object(uint32_t key, uint32_t classID) const {
    const Value& value = Require(key, type::kObject);
    if (value.ClassID() != classID) {
        throw EngineError(code::kInvalidParameters, Quoted(key) + " is an object of class " +
                                                        Quoted(value.ClassID()) + ", not " + Quoted(classID));
    }
    return EventParameters(&value.Object());
}

bool NamesALayer(const Reference& reference) {
    return reference.Count() > 0 && reference.Forms().front().desiredClass == terms::kLayer;
}

namespace {

bool IsActiveDocument(const ReferenceForm& form) {
    return form.desiredClass == terms::kDocument && form.form == form::kEnumerated &&
           form.code == terms::kOrdinal && form.code2 == terms::kTargetEnum;
}

size_t StepFromTarget(const LayerStack& layers, uint32_t ordinal) {
    const size_t target = layers.TargetIndex();
    if (ordinal == terms::kBackward && target > 0) {
        return target - 1;
    }
    if (ordinal == terms::kForward && target + 1 < layers.Count()) {
        return target + 1;
    }
    throw EngineError(code::kReferenceNotFound, std::string("there is no layer ") +
                                                    (ordinal == terms::kBackward ? "below" : "above") +
                                                    " \"" + layers.Target().name + "\"");
}

} // namespace

size_t ResolveLayer(const Reference& reference, const LayerStack& layers, bool allowOrdinalSteps) {
    if (!NamesALayer(reference) ||
        !std::all_of(reference.Forms().begin() + 1, reference.Forms().end(), IsActiveDocument)) {
        throw EngineError(code::kInvalidParameters, "the reference does not name a layer");
    }
    const ReferenceForm& layer = reference.Forms().front();
    if (layer.form == form::kName) {
        if (const auto index = layers.FindByName(layer.name)) {
            return *index;
        }
        throw EngineError(code::kReferenceNotFound, "there is no layer \"" + layer.name + "\"");
    }
    if (layer.form == form::kEnumerated && layer.code == terms::kOrdinal) {
        if (layer.code2 == terms::kTargetEnum) {
            return layers.TargetIndex();
        }
        if (allowOrdinalSteps && (layer.code2 == terms::kBackward || layer.code2 == terms::kForward)) {
            return StepFromTarget(layers, layer.code2);
        }
    }
    throw EngineError(code::kInvalidParameters, "this form of layer reference is not taken");
}

} // namespace vhost::engine
