#include "host/core/ObjectModel.h"

#include <algorithm>
#include <stdexcept>

namespace vhost {

namespace {

template <typename T>
std::unique_ptr<T> CloneOf(const std::unique_ptr<T>& p) {
    return p ? std::make_unique<T>(*p) : nullptr;
}

} // namespace

Value Value::Integer(int32_t v) {
    Value r;
    r.type_ = type::kInteger;
    r.integer_ = v;
    return r;
}

Value Value::Float(double v) {
    Value r;
    r.type_ = type::kFloat;
    r.number_ = v;
    return r;
}

Value Value::UnitFloat(uint32_t unit, double v) {
    Value r;
    r.type_ = type::kUnitFloat;
    r.code_ = unit;
    r.number_ = v;
    return r;
}

Value Value::String(std::string text) {
    Value r;
    r.type_ = type::kText;
    r.text_ = std::move(text);
    return r;
}

Value Value::Boolean(bool v) {
    Value r;
    r.type_ = type::kBoolean;
    r.flag_ = v;
    return r;
}

Value Value::Enumerated(uint32_t enumType, uint32_t enumValue) {
    Value r;
    r.type_ = type::kEnumerated;
    r.code_ = enumType;
    r.code2_ = enumValue;
    return r;
}

Value Value::Class(uint32_t classID) {
    Value r;
    r.type_ = type::kClass;
    r.code_ = classID;
    return r;
}

Value Value::GlobalClass(uint32_t classID) {
    Value r = Class(classID);
    r.type_ = type::kGlobalClass;
    return r;
}

Value Value::Object(uint32_t classID, const Descriptor& d) {
    Value r;
    r.type_ = type::kObject;
    r.code_ = classID;
    r.object_ = std::make_unique<Descriptor>(d);
    return r;
}

Value Value::GlobalObject(uint32_t classID, const Descriptor& d) {
    Value r = Object(classID, d);
    r.type_ = type::kGlobalObject;
    return r;
}

Value Value::ListOf(const List& l) {
    Value r;
    r.type_ = type::kList;
    r.list_ = std::make_unique<List>(l);
    return r;
}

Value Value::ReferenceTo(const Reference& ref) {
    Value r;
    r.type_ = type::kReference;
    r.reference_ = std::make_unique<Reference>(ref);
    return r;
}

Value Value::Alias(std::string bytes) {
    Value r;
    r.type_ = type::kAlias;
    r.text_ = std::move(bytes);
    return r;
}

Value Value::Path(std::string bytes) {
    Value r;
    r.type_ = type::kPath;
    r.text_ = std::move(bytes);
    return r;
}

Value Value::Data(std::string bytes) {
    Value r;
    r.type_ = type::kData;
    r.text_ = std::move(bytes);
    return r;
}

Value::Value() = default;
Value::Value(Value&& other) noexcept = default;
Value& Value::operator=(Value&& other) noexcept = default;
Value::~Value() = default;

Value::Value(const Value& other)
    : type_(other.type_), integer_(other.integer_), number_(other.number_), code_(other.code_),
      code2_(other.code2_), flag_(other.flag_), text_(other.text_), object_(CloneOf(other.object_)),
      list_(CloneOf(other.list_)), reference_(CloneOf(other.reference_)) {
}

Value& Value::operator=(const Value& other) {
    if (this != &other) {
        Value copy(other);
        *this = std::move(copy);
    }
    return *this;
}

const Descriptor& Value::Object() const {
    if (!object_) {
        throw std::logic_error("value is not an object");
    }
    return *object_;
}

const List& Value::ListValue() const {
    if (!list_) {
        throw std::logic_error("value is not a list");
    }
    return *list_;
}

const Reference& Value::ReferenceValue() const {
    if (!reference_) {
        throw std::logic_error("value is not a reference");
    }
    return *reference_;
}

bool Value::operator==(const Value& other) const {
    if (type_ != other.type_) {
        return false;
    }
    switch (type_) {
    case type::kInteger:
        return integer_ == other.integer_;
    case type::kFloat:
        return number_ == other.number_;
    case type::kUnitFloat:
        return code_ == other.code_ && number_ == other.number_;
    case type::kText:
    case type::kAlias:
    case type::kPath:
    case type::kData:
        return text_ == other.text_;
    case type::kBoolean:
        return flag_ == other.flag_;
    case type::kEnumerated:
        return code_ == other.code_ && code2_ == other.code2_;
    case type::kClass:
    case type::kGlobalClass:
        return code_ == other.code_;
    case type::kObject:
    case type::kGlobalObject:
        return code_ == other.code_ && *object_ == *other.object_;
    case type::kList:
        return *list_ == *other.list_;
    case type::kReference:
        return *reference_ == *other.reference_;
    default:
        return false;
    }
}

void Descriptor::Put(uint32_t key, Value v) {
    for (auto& item : items_) {
        if (item.first == key) {
            item.second = std::move(v);
            return;
        }
    }
    items_.emplace_back(key, std::move(v));
}

const Value* Descriptor::Find(uint32_t key) const {
    for (const auto& item : items_) {
        if (item.first == key) {
            return &item.second;
        }
    }
    return nullptr;
}

bool Descriptor::Erase(uint32_t key) {
    auto it = std::find_if(items_.begin(), items_.end(), [key](const Item& i) { return i.first == key; });
    if (it == items_.end()) {
        return false;
    }
    items_.erase(it);
    return true;
}

ReferenceForm ReferenceForm::Class(uint32_t desiredClass) {
    ReferenceForm f;
    f.form = form::kClass;
    f.desiredClass = desiredClass;
    return f;
}

ReferenceForm ReferenceForm::Enumerated(uint32_t desiredClass, uint32_t enumType, uint32_t enumValue) {
    ReferenceForm f = Class(desiredClass);
    f.form = form::kEnumerated;
    f.code = enumType;
    f.code2 = enumValue;
    return f;
}

ReferenceForm ReferenceForm::Property(uint32_t desiredClass, uint32_t key) {
    ReferenceForm f = Class(desiredClass);
    f.form = form::kProperty;
    f.code = key;
    return f;
}

ReferenceForm ReferenceForm::Index(uint32_t desiredClass, uint32_t index) {
    ReferenceForm f = Class(desiredClass);
    f.form = form::kIndex;
    f.number = index;
    return f;
}

ReferenceForm ReferenceForm::Identifier(uint32_t desiredClass, uint32_t id) {
    ReferenceForm f = Class(desiredClass);
    f.form = form::kIdentifier;
    f.number = id;
    return f;
}

ReferenceForm ReferenceForm::Offset(uint32_t desiredClass, int32_t offset) {
    ReferenceForm f = Class(desiredClass);
    f.form = form::kOffset;
    f.offset = offset;
    return f;
}

ReferenceForm ReferenceForm::Name(uint32_t desiredClass, std::string name) {
    ReferenceForm f = Class(desiredClass);
    f.form = form::kName;
    f.name = std::move(name);
    return f;
}

Reference Reference::Container() const {
    Reference r;
    if (forms_.size() > 1) {
        r.forms_.assign(forms_.begin() + 1, forms_.end());
    }
    return r;
}

} // namespace vhost
