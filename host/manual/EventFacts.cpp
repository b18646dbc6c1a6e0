#include "host/manual/EventFacts.h"

#include <charconv>
#include <cmath>
#include <map>

namespace vhost::manual {

namespace {

using vlh::DescriptorItem;
using vlh::ItemKind;

const std::map<std::string, EventKind>& KindsByStringID() {
    static const std::map<std::string, EventKind> kinds = {
        {"duplicate", EventKind::Duplicate},
        {"set", EventKind::SetLayer},
        {"unsharpMask", EventKind::UnsharpMask},
        {"highPass", EventKind::HighPass},
        {"gaussianBlur", EventKind::GaussianBlur},
        {"desaturate", EventKind::Desaturate},
        {"invert", EventKind::Invert},
        {"select", EventKind::Select},
        {"mergeLayersNew", EventKind::MergeDown},
        {"flattenImage", EventKind::Flatten},
        {"purge", EventKind::Purge},
    };
    return kinds;
}

std::string Quoted(const std::string& text) {
    return "\u201c" + text + "\u201d";
}

std::string DescribeForm(const vlh::ReferenceForm& form) {
    switch (form.kind) {
    case vlh::FormKind::Enum: {
        const auto& e = static_cast<const vlh::EnumForm&>(form);
        return form.classID + " " + e.type + " " + e.value;
    }
    case vlh::FormKind::Name:
        return form.classID + " " + Quoted(static_cast<const vlh::NameForm&>(form).name);
    case vlh::FormKind::Index:
        return form.classID + " #" + std::to_string(static_cast<const vlh::IndexForm&>(form).index);
    case vlh::FormKind::Property:
        return form.classID + " ." + static_cast<const vlh::PropertyForm&>(form).key;
    case vlh::FormKind::Class:
        break;
    }
    return form.classID;
}

// A unit double in the unit it must have, else nothing (and it stays unread).
std::optional<double> InUnit(const DescriptorItem& item, const char* unit) {
    if (item.kind != ItemKind::UnitDouble) {
        return std::nullopt;
    }
    const auto& u = static_cast<const vlh::UnitDoubleItem&>(item);
    return u.unit == unit ? std::optional<double>(u.value) : std::nullopt;
}

// The target of "duplicate", "set" and the reference of "select" and "purge".
bool ReadTarget(const DescriptorItem& item, EventFacts& facts) {
    if (item.kind == ItemKind::Enum && facts.kind == EventKind::Purge) {
        const auto& e = static_cast<const vlh::EnumItem&>(item);
        return e.type == "PrgI" && e.value == "Clpb";
    }
    if (item.kind != ItemKind::Reference) {
        return false;
    }
    const auto& ref = static_cast<const vlh::ReferenceItem&>(item);
    if (ref.forms.size() != 1 || ref.forms[0]->classID != "Lyr ") {
        return false;
    }
    const vlh::ReferenceForm& form = *ref.forms[0];
    if (form.kind == vlh::FormKind::Name && facts.kind == EventKind::Select) {
        facts.layerName = static_cast<const vlh::NameForm&>(form).name;
        return true;
    }
    if (form.kind != vlh::FormKind::Enum) {
        return false;
    }
    const auto& e = static_cast<const vlh::EnumForm&>(form);
    if (e.type != "Ordn") {
        return false;
    }
    if (facts.kind == EventKind::Select && (e.value == "Bckw" || e.value == "Frwr")) {
        facts.ordinal = e.value;
        return true;
    }
    return e.value == "Trgt" && facts.kind != EventKind::Select;
}

// The keys each event takes (those of a "set" inside its layer object).
bool Takes(EventKind kind, const std::string& key) {
    switch (kind) {
    case EventKind::Duplicate:
        return key == "null" || key == "Nm  ";
    case EventKind::SetLayer:
        return key == "null" || key == "T   " || key == "Md  " || key == "Opct" || key == "Nm  ";
    case EventKind::UnsharpMask:
        return key == "Amnt" || key == "Rds " || key == "Thsh";
    case EventKind::HighPass:
    case EventKind::GaussianBlur:
        return key == "Rds ";
    case EventKind::Select:
    case EventKind::Purge:
        return key == "null";
    default:
        return false;
    }
}

// One keyed value of the event's own descriptor; false when it means nothing
// known for this event.
bool ReadItem(const DescriptorItem& item, EventFacts& facts);

// The 'T   ' object of a "set": a layer's blend mode, opacity and name.
bool ReadLayerObject(const DescriptorItem& item, EventFacts& facts) {
    if (item.kind != ItemKind::Object) {
        return false;
    }
    const auto& object = static_cast<const vlh::ObjectItem&>(item);
    if (!object.body || object.body->classID != "Lyr ") {
        return false;
    }
    for (const auto& inner : object.body->items) {
        if (!ReadItem(*inner, facts)) {
            facts.unread.push_back("'" + inner->key + "' " + DescribeItem(*inner));
        }
    }
    return true;
}

bool ReadItem(const DescriptorItem& item, EventFacts& facts) {
    const std::string& key = item.key;
    if (!Takes(facts.kind, key)) {
        return false;
    }
    if (key == "null") {
        return ReadTarget(item, facts);
    }
    if (key == "T   " && facts.kind == EventKind::SetLayer) {
        return ReadLayerObject(item, facts);
    }
    if (key == "Nm  " && item.kind == ItemKind::Text) {
        facts.name = static_cast<const vlh::TextItem&>(item).text;
        return true;
    }
    if (key == "Amnt") {
        facts.amount = InUnit(item, "#Prc");
        return facts.amount.has_value();
    }
    if (key == "Rds ") {
        facts.radius = InUnit(item, "#Pxl");
        return facts.radius.has_value();
    }
    if (key == "Opct") {
        facts.opacity = InUnit(item, "#Prc");
        return facts.opacity.has_value();
    }
    if (key == "Thsh" && item.kind == ItemKind::Integer) {
        facts.threshold = static_cast<const vlh::IntegerItem&>(item).value;
        return true;
    }
    if (key == "Md  " && item.kind == ItemKind::Enum) {
        const auto& e = static_cast<const vlh::EnumItem&>(item);
        if (e.type == "BlnM") {
            facts.mode = e.value;
            return true;
        }
    }
    return false;
}

} // namespace

std::string FormatNumber(double value) {
    if (!std::isfinite(value)) {
        return "?";
    }
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    std::string out(text, end);
    while (out.back() == '0') {
        out.pop_back();
    }
    if (out.back() == '.') {
        out.pop_back();
    }
    return out == "-0" ? "0" : out;
}

std::string DescribeItem(const DescriptorItem& item) {
    switch (item.kind) {
    case ItemKind::Boolean:
        return static_cast<const vlh::BooleanItem&>(item).value ? "true" : "false";
    case ItemKind::Double:
        return FormatNumber(static_cast<const vlh::DoubleItem&>(item).value);
    case ItemKind::Integer:
        return std::to_string(static_cast<const vlh::IntegerItem&>(item).value);
    case ItemKind::UnitDouble: {
        const auto& u = static_cast<const vlh::UnitDoubleItem&>(item);
        return FormatNumber(u.value) + " " + u.unit;
    }
    case ItemKind::Enum: {
        const auto& e = static_cast<const vlh::EnumItem&>(item);
        return e.type + " " + e.value;
    }
    case ItemKind::Text:
        return Quoted(static_cast<const vlh::TextItem&>(item).text);
    case ItemKind::Class:
        return "class " + static_cast<const vlh::ClassItem&>(item).classID;
    case ItemKind::Alias:
        return "a file alias";
    case ItemKind::Reference: {
        std::string out;
        for (const auto& form : static_cast<const vlh::ReferenceItem&>(item).forms) {
            out += (out.empty() ? "" : " of ") + DescribeForm(*form);
        }
        return out;
    }
    case ItemKind::Object: {
        const auto& object = static_cast<const vlh::ObjectItem&>(item);
        std::string out = "{";
        if (object.body) {
            for (const auto& inner : object.body->items) {
                out += (out.size() > 1 ? ", '" : "'") + inner->key + "' " + DescribeItem(*inner);
            }
        }
        return out + "}";
    }
    case ItemKind::List: {
        std::string out = "[";
        for (const auto& element : static_cast<const vlh::ListItem&>(item).elements) {
            out += (out.size() > 1 ? ", " : "") + DescribeItem(*element);
        }
        return out + "]";
    }
    }
    return "?";
}

EventFacts ReadEventFacts(const vlh::ActionEvent& event) {
    EventFacts facts;
    facts.stringID = event.eventName;
    facts.displayName = event.displayName;
    const auto kind = KindsByStringID().find(event.eventName);
    facts.kind = kind != KindsByStringID().end() ? kind->second : EventKind::Other;
    if (facts.kind == EventKind::SetLayer) {
        // A "set" of anything but a layer is not one of the layer events.
        bool ofLayer = false;
        if (event.descriptor) {
            for (const auto& item : event.descriptor->items) {
                ofLayer = ofLayer || (item->key == "T   " && item->kind == ItemKind::Object &&
                                      static_cast<const vlh::ObjectItem&>(*item).body &&
                                      static_cast<const vlh::ObjectItem&>(*item).body->classID == "Lyr ");
            }
        }
        facts.kind = ofLayer ? EventKind::SetLayer : EventKind::Other;
    }
    if (!event.descriptor) {
        return facts;
    }
    for (const auto& item : event.descriptor->items) {
        if (facts.kind == EventKind::Other || !ReadItem(*item, facts)) {
            facts.unread.push_back("'" + item->key + "' " + DescribeItem(*item));
        }
    }
    return facts;
}

} // namespace vhost::manual
