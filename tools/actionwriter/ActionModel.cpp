#include "tools/actionwriter/ActionModel.h"

#include <stdexcept>
#include <utility>

namespace vtools {

UnicodeText UnicodeText::Latin1(std::string_view text) {
    UnicodeText result;
    for (char c : text) {
        result.units.push_back(char16_t(uint8_t(c)));
    }
    return result;
}

IdField IdField::Code(std::string_view code) {
    if (code.size() != 4) {
        throw std::invalid_argument("a four-character code needs exactly four bytes: '" + std::string(code) +
                                    "'");
    }
    return {0, std::string(code)};
}

IdField IdField::String(std::string_view id) {
    return {int32_t(id.size()), std::string(id)};
}

// ---- forms --------------------------------------------------------------------

FormModel FormModel::Class(IdField classId) {
    FormModel form;
    form.code = "Clss";
    form.layout = FormLayout::Class;
    form.classId = std::move(classId);
    return form;
}

FormModel FormModel::Enum(IdField classId, IdField type, IdField value) {
    FormModel form;
    form.code = "Enmr";
    form.layout = FormLayout::Enum;
    form.classId = std::move(classId);
    form.type = std::move(type);
    form.value = std::move(value);
    return form;
}

FormModel FormModel::Index(IdField classId, int32_t index) {
    FormModel form;
    form.code = "indx";
    form.layout = FormLayout::Index;
    form.classId = std::move(classId);
    form.index = index;
    return form;
}

FormModel FormModel::Name(IdField classId, UnicodeText name) {
    FormModel form;
    form.code = "name";
    form.layout = FormLayout::Name;
    form.classId = std::move(classId);
    form.name = std::move(name);
    return form;
}

FormModel FormModel::Property(IdField classId, IdField key) {
    FormModel form;
    form.code = "prop";
    form.layout = FormLayout::Property;
    form.classId = std::move(classId);
    form.value = std::move(key);
    return form;
}

FormModel FormModel::Raw(std::string code, Bytes after) {
    FormModel form;
    form.code = std::move(code);
    form.layout = FormLayout::Raw;
    form.raw = std::move(after);
    return form;
}

// ---- descriptors and values -----------------------------------------------------

DescriptorModel DescriptorModel::Of(IdField classId, std::vector<ItemModel> items) {
    DescriptorModel body;
    body.classId = std::move(classId);
    body.items = std::move(items);
    return body;
}

namespace {

ValueModel Typed(const char* type, ValueLayout layout) {
    ValueModel value;
    value.type = type;
    value.layout = layout;
    return value;
}

} // namespace

ValueModel ValueModel::Alias(Bytes data) {
    ValueModel value = Typed("alis", ValueLayout::Alias);
    value.data = std::move(data);
    return value;
}

ValueModel ValueModel::Boolean(bool flag) {
    ValueModel value = Typed("bool", ValueLayout::Boolean);
    value.flag = flag ? 1 : 0;
    return value;
}

ValueModel ValueModel::Double(double number) {
    ValueModel value = Typed("doub", ValueLayout::Double);
    value.number = number;
    return value;
}

ValueModel ValueModel::Enum(IdField type, IdField enumValue) {
    ValueModel value = Typed("enum", ValueLayout::Enum);
    value.first = std::move(type);
    value.second = std::move(enumValue);
    return value;
}

ValueModel ValueModel::Integer(int32_t integer) {
    ValueModel value = Typed("long", ValueLayout::Integer);
    value.integer = integer;
    return value;
}

ValueModel ValueModel::Reference(std::vector<FormModel> forms) {
    ValueModel value = Typed("obj ", ValueLayout::Reference);
    value.forms = std::move(forms);
    return value;
}

ValueModel ValueModel::Object(DescriptorModel body) {
    ValueModel value = Typed("Objc", ValueLayout::Object);
    value.object = std::move(body);
    return value;
}

ValueModel ValueModel::Text(UnicodeText text) {
    ValueModel value = Typed("TEXT", ValueLayout::Text);
    value.text = std::move(text);
    return value;
}

ValueModel ValueModel::Class(IdField classId, UnicodeText className) {
    ValueModel value = Typed("type", ValueLayout::Class);
    value.first = std::move(classId);
    value.text = std::move(className);
    return value;
}

ValueModel ValueModel::UnitDouble(std::string_view unit, double number) {
    ValueModel value = Typed("UntF", ValueLayout::UnitDouble);
    value.unit = std::string(unit);
    value.number = number;
    return value;
}

ValueModel ValueModel::List(std::vector<ValueModel> elements) {
    ValueModel value = Typed("VlLs", ValueLayout::List);
    value.elements = std::move(elements);
    return value;
}

ValueModel ValueModel::Raw(std::string type, Bytes payload) {
    ValueModel value;
    value.type = std::move(type);
    value.layout = ValueLayout::Raw;
    value.data = std::move(payload);
    return value;
}

// ---- events, Effects, Sets --------------------------------------------------------

EventModel EventModel::Named(std::string_view eventName, std::optional<DescriptorModel> descriptor) {
    EventModel event;
    event.eventName = ByteText::Of(eventName);
    event.displayName = ByteText::Of(eventName);
    event.descriptor = std::move(descriptor);
    return event;
}

EffectModel EffectModel::Named(std::string_view name, std::vector<EventModel> events) {
    EffectModel effect;
    effect.name = UnicodeText::Latin1(name);
    effect.events = std::move(events);
    return effect;
}

SetModel SetModel::Named(std::string_view name, std::vector<EffectModel> effects) {
    SetModel set;
    set.name = UnicodeText::Latin1(name);
    set.effects = std::move(effects);
    return set;
}

} // namespace vtools
