#include "tools/recipec/RecipeCompiler.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "tools/actionwriter/ActionWriter.h"
#include "tools/recipec/RecipeSource.h"
#include "tools/recipec/Vocabulary.h"

namespace vtools {

namespace {

// A fault in one event: noted against the event's line by the caller.
struct EventFault {
    std::string what;
};

std::string Quote(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string Number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

IdField Key(std::string_view key) {
    char buffer[5];
    return IdField::Code(PaddedKey(key, buffer));
}

std::string KnownList(std::span<const std::string_view> values) {
    std::string list;
    for (std::string_view v : values) {
        list += (list.empty() ? "" : ", ") + std::string(v);
    }
    return list;
}

std::string EventList() {
    std::string list;
    for (const EventSpec& e : Events()) {
        list += (list.empty() ? "" : ", ") + std::string(e.stringId);
    }
    return list;
}

std::string KeyList(const EventSpec& event) {
    std::string list;
    for (const ParameterSpec& p : event.parameters) {
        list += (list.empty() ? "" : ", ") + std::string(p.key);
    }
    return list.empty() ? "none" : list;
}

const char* TypeName(ValueType type) {
    switch (type) {
    case ValueType::Percent:
        return "a percentage (120%)";
    case ValueType::Pixels:
        return "a size in pixels (0.8px)";
    case ValueType::Integer:
        return "an integer (4)";
    case ValueType::Text:
        return "a quoted text";
    case ValueType::Enum:
        return "a code";
    case ValueType::Layer:
        return "a layer name (quoted) or an ordinal code";
    }
    return "a value";
}

const char* WrittenAs(const SourceValue& value) {
    switch (value.form) {
    case SourceValue::Form::Number:
        return value.unit.empty() ? (value.integral ? "an integer" : "a number without a unit") : "a number";
    case SourceValue::Form::Text:
        return "a quoted text";
    case SourceValue::Form::Code:
        return "a code";
    }
    return "a value";
}

bool IsKnownUnit(std::string_view unit) {
    return unit == "%" || unit == "px";
}

[[noreturn]] void WrongType(const EventSpec& event, const ParameterSpec& parameter, const SourceValue& value) {
    throw EventFault{std::string(parameter.key) + " of " + std::string(event.stringId) + " takes " +
                     TypeName(parameter.type) + ", not " + WrittenAs(value) + " (" + value.text + ")"};
}

void CheckRange(const EventSpec& event, const ParameterSpec& parameter, const SourceValue& value) {
    if (!(value.number >= parameter.min && value.number <= parameter.max)) {
        throw EventFault{std::string(parameter.key) + " of " + std::string(event.stringId) + " is " + value.text +
                         ", out of range " + Number(parameter.min) + " to " + Number(parameter.max)};
    }
}

double UnitNumber(const EventSpec& event, const ParameterSpec& parameter, const SourceValue& value,
                  std::string_view unit) {
    if (value.form != SourceValue::Form::Number) {
        WrongType(event, parameter, value);
    }
    if (!IsKnownUnit(value.unit)) {
        throw EventFault{value.unit.empty() ? std::string(parameter.key) + " of " + std::string(event.stringId) +
                                                  " needs a unit: " + std::string(unit)
                                            : "unknown unit " + Quote(value.unit) + " in " + value.text +
                                                  " (units are % and px)"};
    }
    if (value.unit != unit) {
        throw EventFault{std::string(parameter.key) + " of " + std::string(event.stringId) + " is in " +
                         std::string(unit) + ", not " + value.unit};
    }
    CheckRange(event, parameter, value);
    return value.number;
}

void CheckLayerName(std::string_view name, const std::string& key) {
    if (std::string fault = NameFault(name); !fault.empty()) {
        throw EventFault{"layer name in " + key + ": " + fault};
    }
}

std::string CheckedCode(const EventSpec& event, const ParameterSpec& parameter, const SourceValue& value) {
    for (std::string_view known : parameter.enumValues) {
        if (value.text == known) {
            return value.text;
        }
    }
    throw EventFault{"unknown value " + value.text + " for " + std::string(parameter.key) + " of " +
                     std::string(event.stringId) + " (" + std::string(parameter.enumType) + "): known are " +
                     KnownList(parameter.enumValues)};
}

// A value the host names with a four-character code is recorded as that code;
// one it knows by string ID only ("linearDodge") as the string ID.
IdField EnumValueId(const std::string& value) {
    return value.size() == 4 ? IdField::Code(value) : IdField::String(value);
}

ValueModel Value(const EventSpec& event, const ParameterSpec& parameter, const SourceValue& value) {
    switch (parameter.type) {
    case ValueType::Percent:
        return ValueModel::UnitDouble("#Prc", UnitNumber(event, parameter, value, "%"));
    case ValueType::Pixels:
        return ValueModel::UnitDouble("#Pxl", UnitNumber(event, parameter, value, "px"));
    case ValueType::Integer:
        if (value.form != SourceValue::Form::Number || !value.integral || !value.unit.empty()) {
            WrongType(event, parameter, value);
        }
        CheckRange(event, parameter, value);
        return ValueModel::Integer(int32_t(value.number));
    case ValueType::Text:
        if (value.form != SourceValue::Form::Text) {
            WrongType(event, parameter, value);
        }
        CheckLayerName(value.text, std::string(parameter.key));
        return ValueModel::Text(UnicodeText::Latin1(value.text));
    case ValueType::Enum:
        if (value.form != SourceValue::Form::Code) {
            WrongType(event, parameter, value);
        }
        return ValueModel::Enum(IdField::Code(parameter.enumType), EnumValueId(CheckedCode(event, parameter, value)));
    case ValueType::Layer:
        if (value.form == SourceValue::Form::Text) {
            CheckLayerName(value.text, std::string(parameter.key));
            return ValueModel::Reference(
                {FormModel::Name(IdField::Code("Lyr "), UnicodeText::Latin1(value.text))});
        }
        if (value.form != SourceValue::Form::Code) {
            WrongType(event, parameter, value);
        }
        return ValueModel::Reference({FormModel::Enum(IdField::Code("Lyr "), IdField::Code(parameter.enumType),
                                                      IdField::Code(CheckedCode(event, parameter, value)))});
    }
    WrongType(event, parameter, value);
}

ValueModel TargetLayer() {
    return ValueModel::Reference(
        {FormModel::Enum(IdField::Code("Lyr "), IdField::Code("Ordn"), IdField::Code("Trgt"))});
}

const SourceParameter* Given(const SourceEvent& source, std::string_view key) {
    for (const SourceParameter& p : source.parameters) {
        if (p.key == key) {
            return &p;
        }
    }
    return nullptr;
}

void CheckGivenKeys(const EventSpec& event, const SourceEvent& source) {
    std::set<std::string> seen;
    for (const SourceParameter& p : source.parameters) {
        if (FindParameter(event, p.key) == nullptr) {
            throw EventFault{"unknown key " + p.key + " for " + std::string(event.stringId) + " (it takes " +
                             KeyList(event) + ")"};
        }
        if (!seen.insert(p.key).second) {
            throw EventFault{"key " + p.key + " given twice"};
        }
    }
    if (event.needsAParameter && source.parameters.empty()) {
        throw EventFault{std::string(event.stringId) + " needs at least one of " + KeyList(event)};
    }
}

// The recorded items, in the vocabulary's order whatever the source's order,
// so equal recipes are recorded equally.
std::vector<ItemModel> Items(const EventSpec& event, const SourceEvent& source) {
    std::vector<ItemModel> items;
    for (const ParameterSpec& parameter : event.parameters) {
        const SourceParameter* given = Given(source, parameter.key);
        if (given == nullptr) {
            if (parameter.required) {
                throw EventFault{std::string(event.stringId) + " needs " + std::string(parameter.key) + " (" +
                                 TypeName(parameter.type) + ")"};
            }
            continue;
        }
        items.push_back({Key(parameter.key), Value(event, parameter, given->value)});
    }
    return items;
}

EventModel CompileEvent(const SourceEvent& source) {
    const EventSpec* event = FindEvent(source.stringId);
    if (event == nullptr) {
        throw EventFault{"unknown event " + source.stringId + " (known are " + EventList() + ")"};
    }
    CheckGivenKeys(*event, source);
    std::vector<ItemModel> items = Items(*event, source);
    std::optional<DescriptorModel> descriptor;
    switch (event->shape) {
    case EventShape::Plain:
        if (!items.empty()) {
            descriptor = DescriptorModel::Of(IdField::Code("null"), std::move(items));
        }
        break;
    case EventShape::TargetLayer:
        items.insert(items.begin(), {IdField::Code("null"), TargetLayer()});
        descriptor = DescriptorModel::Of(IdField::Code("null"), std::move(items));
        break;
    case EventShape::LayerObject:
        descriptor = DescriptorModel::Of(
            IdField::Code("null"),
            {{IdField::Code("null"), TargetLayer()},
             {Key("T"), ValueModel::Object(DescriptorModel::Of(IdField::Code("Lyr "), std::move(items)))}});
        break;
    }
    EventModel model = EventModel::Named(event->stringId, std::move(descriptor));
    model.displayName = ByteText::Of(event->displayName);
    return model;
}

// The layer names an Effect makes (duplicate's and set's Nm): a select by name
// must pick one of them, made earlier in the same Effect.
void CheckSelectedLayer(const SourceEvent& source, std::set<std::string>& madeLayers) {
    const SourceParameter* name = Given(source, "Nm");
    if ((source.stringId == "duplicate" || source.stringId == "set") && name != nullptr) {
        madeLayers.insert(name->value.text);
    }
    const SourceParameter* target = Given(source, "null");
    if (source.stringId == "select" && target != nullptr && target->value.form == SourceValue::Form::Text &&
        madeLayers.count(target->value.text) == 0) {
        throw EventFault{"select picks the layer " + Quote(target->value.text) +
                         ", which no earlier event of this Effect names"};
    }
}

class Compilation {
public:
    Compilation(const RecipeSource& source, Diagnostics& found) : source_(source), found_(found) {}

    CompiledSet Run() {
        CompiledSet set;
        set.file = source_.file;
        set.name = source_.setName;
        set.line = source_.setLine;
        CheckSetName();
        if (source_.effects.size() < kMinEffectsPerSet) {
            const size_t count = source_.effects.size();
            Note(source_.setLine, "the Set " + Quote(source_.setName) + " has " + std::to_string(count) +
                                      (count == 1 ? " Effect" : " Effects") + "; a Set needs at least " +
                                      std::to_string(kMinEffectsPerSet));
        }
        std::vector<EffectModel> effects;
        for (const SourceEffect& effect : source_.effects) {
            effects.push_back(CompileEffect(effect, set.effects));
        }
        set.model = SetModel::Named(source_.setName, std::move(effects));
        return set;
    }

private:
    void Note(int line, std::string what) { found_.Add(source_.file, line, std::move(what)); }

    void CheckSetName() {
        if (source_.setLine == 0) {
            Note(0, "no Set: line names the Set");
            return;
        }
        if (std::string fault = NameFault(source_.setName); !fault.empty()) {
            Note(source_.setLine, "Set name: " + fault);
        }
        // The module cuts a trailing .ATN from a stored Set name, so the Set
        // would be listed under another name than the one written here.
        const std::string& name = source_.setName;
        if (name.size() > 4 && name[name.size() - 4] == '.') {
            std::string end = name.substr(name.size() - 3);
            for (char& c : end) {
                c = char(std::toupper(static_cast<unsigned char>(c)));
            }
            if (end == "ATN") {
                Note(source_.setLine, "Set name ends in " + name.substr(name.size() - 4) +
                                          ", which the module removes when it reads the Set");
            }
        }
    }

    EffectModel CompileEffect(const SourceEffect& source, std::vector<CompiledEffect>& compiled) {
        if (std::string fault = NameFault(source.name); !fault.empty()) {
            Note(source.line, "Effect name: " + fault);
        }
        for (const CompiledEffect& earlier : compiled) {
            if (earlier.name == source.name) {
                Note(source.line, "the Effect " + Quote(source.name) + " is already in this Set (line " +
                                      std::to_string(earlier.line) + ")");
            }
        }
        if (source.events.empty()) {
            Note(source.line, "the Effect " + Quote(source.name) + " has no events");
        }
        std::vector<EventModel> events;
        std::set<std::string> madeLayers;
        for (const SourceEvent& event : source.events) {
            try {
                CheckSelectedLayer(event, madeLayers);
                events.push_back(CompileEvent(event));
            } catch (const EventFault& fault) {
                Note(event.line, fault.what);
            } catch (const std::invalid_argument& fault) {
                Note(event.line, fault.what());
            }
        }
        EffectModel model = EffectModel::Named(source.name, std::move(events));
        CompiledEffect effect{source.name, source.line, RecipeBytes(model)};
        for (const CompiledEffect& earlier : compiled) {
            if (!source.events.empty() && earlier.recipe == effect.recipe) {
                Note(source.line, "the Effect " + Quote(source.name) + " repeats the recipe of " +
                                      Quote(earlier.name) + " (line " + std::to_string(earlier.line) + ")");
            }
        }
        compiled.push_back(std::move(effect));
        return model;
    }

    // The Effect's events as recorded, without its name.
    static Bytes RecipeBytes(const EffectModel& effect) {
        EffectModel unnamed = effect;
        unnamed.name = UnicodeText{};
        return SerialiseSet(SetModel::Named("", {std::move(unnamed)}));
    }

    const RecipeSource& source_;
    Diagnostics& found_;
};

} // namespace

std::string NameFault(std::string_view name) {
    if (name.empty()) {
        return "empty";
    }
    if (name.size() > kMaxNameBytes) {
        return std::to_string(name.size()) + " bytes long; a name has at most " +
               std::to_string(kMaxNameBytes);
    }
    for (char c : name) {
        if (c < 0x20 || c > 0x7E) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02x", unsigned(uint8_t(c)));
            return std::string("holds the byte ") + code + ", which is not printable ASCII";
        }
    }
    if (name.front() == ' ' || name.back() == ' ') {
        return "starts or ends with a blank";
    }
    return "";
}

CompiledSet CompileRecipe(std::string_view text, const std::string& file) {
    Diagnostics found;
    const RecipeSource source = ParseRecipe(text, file, found);
    CompiledSet set = Compilation(source, found).Run();
    if (!found.Empty()) {
        throw RecipeError(std::move(found));
    }
    set.stored = WriteStoredSet(set.model);
    return set;
}

CompiledSet CompileRecipeFile(const std::filesystem::path& path, const std::string& shownAs) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Diagnostics found;
        found.Add(shownAs, 0, "cannot read " + path.string());
        throw RecipeError(std::move(found));
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return CompileRecipe(text, shownAs);
}

} // namespace vtools
