#include "tests/catalogue/LayerEffects.h"

#include <sstream>

namespace vlh::test {

namespace {

const DescriptorItem* Item(const DescriptorBody* body, const std::string& key) {
    if (body == nullptr) {
        return nullptr;
    }
    for (const auto& item : body->items) {
        if (item->key == key) {
            return item.get();
        }
    }
    return nullptr;
}

void ApplySet(const ActionEvent& event, LayerState& layer) {
    const auto* object = dynamic_cast<const ObjectItem*>(Item(event.descriptor.get(), "T   "));
    if (object == nullptr) {
        return;
    }
    if (const auto* mode = dynamic_cast<const EnumItem*>(Item(object->body.get(), "Md  "))) {
        layer.mode = mode->value;
    }
    if (const auto* opacity = dynamic_cast<const UnitDoubleItem*>(Item(object->body.get(), "Opct"))) {
        layer.opacity = opacity->value;
    }
    if (const auto* name = dynamic_cast<const TextItem*>(Item(object->body.get(), "Nm  "))) {
        layer.name = name->text;
    }
}

// The layer a select picks, or -1.
int Selected(const ActionEvent& event, const std::vector<LayerState>& layers, int target) {
    const auto* reference = dynamic_cast<const ReferenceItem*>(Item(event.descriptor.get(), "null"));
    if (reference == nullptr || reference->forms.size() != 1) {
        return -1;
    }
    const ReferenceForm& form = *reference->forms.front();
    if (const auto* byName = dynamic_cast<const NameForm*>(&form)) {
        for (int i = int(layers.size()) - 1; i >= 0; --i) {
            if (layers[size_t(i)].name == byName->name) {
                return i;
            }
        }
        return -1;
    }
    if (const auto* ordinal = dynamic_cast<const EnumForm*>(&form)) {
        const int next = ordinal->value == "Bckw" ? target - 1 : ordinal->value == "Frwr" ? target + 1 : -1;
        return next >= 0 && next < int(layers.size()) ? next : -1;
    }
    return -1;
}

void Describe(std::ostream& out, const DescriptorBody& body);

void Describe(std::ostream& out, const DescriptorItem& item) {
    out << item.key << ":" << int(item.kind) << "=";
    if (const auto* e = dynamic_cast<const EnumItem*>(&item)) {
        out << e->type << "." << e->value;
    } else if (const auto* i = dynamic_cast<const IntegerItem*>(&item)) {
        out << i->value;
    } else if (const auto* u = dynamic_cast<const UnitDoubleItem*>(&item)) {
        out << u->value << u->unit;
    } else if (const auto* t = dynamic_cast<const TextItem*>(&item)) {
        out << '"' << t->text << '"';
    } else if (const auto* o = dynamic_cast<const ObjectItem*>(&item)) {
        Describe(out, *o->body);
    } else if (const auto* r = dynamic_cast<const ReferenceItem*>(&item)) {
        for (const auto& form : r->forms) {
            out << "[" << int(form->kind) << form->classID;
            if (const auto* n = dynamic_cast<const NameForm*>(form.get())) {
                out << " " << n->name;
            } else if (const auto* en = dynamic_cast<const EnumForm*>(form.get())) {
                out << " " << en->type << "." << en->value;
            }
            out << "]";
        }
    } else {
        out << "?";
    }
}

void Describe(std::ostream& out, const DescriptorBody& body) {
    out << "{" << body.classID;
    for (const auto& item : body.items) {
        out << " ";
        Describe(out, *item);
    }
    out << "}";
}

} // namespace

LayerOutcome SimulateLayers(const Effect& effect) {
    LayerOutcome outcome;
    std::vector<LayerState>& layers = outcome.layers;
    layers.push_back({"Background"});
    int target = 0;
    for (const auto& event : effect.events) {
        const std::string& name = event->eventName;
        if (name == "duplicate") {
            LayerState copy = layers[size_t(target)];
            if (const auto* text = dynamic_cast<const TextItem*>(Item(event->descriptor.get(), "Nm  "))) {
                copy.name = text->text;
            }
            layers.insert(layers.begin() + target + 1, copy);
            ++target;
        } else if (name == "set") {
            ApplySet(*event, layers[size_t(target)]);
        } else if (name == "select") {
            target = Selected(*event, layers, target);
            if (target < 0) {
                outcome.fault = "select picks no layer";
                return outcome;
            }
        } else if (name == "mergeLayersNew") {
            if (target == 0) {
                outcome.fault = "merge with no layer below";
                return outcome;
            }
            outcome.mergedModes.push_back(layers[size_t(target)].mode);
            layers.erase(layers.begin() + target);
            --target;
        } else if (name == "flattenImage") {
            layers.resize(1);
            target = 0;
        }
    }
    return outcome;
}

double FirstRadius(const Effect& effect) {
    for (const auto& event : effect.events) {
        if (event->eventName == "unsharpMask" || event->eventName == "highPass") {
            if (const auto* r = dynamic_cast<const UnitDoubleItem*>(Item(event->descriptor.get(), "Rds "))) {
                return r->value;
            }
        }
    }
    return -1;
}

std::string RecipeSignature(const Effect& effect) {
    std::ostringstream out;
    for (const auto& event : effect.events) {
        out << event->eventName << (event->enabled ? "+" : "-") << (event->withDialog ? "d" : "");
        if (event->descriptor) {
            Describe(out, *event->descriptor);
        }
        out << ";";
    }
    return out.str();
}

} // namespace vlh::test
