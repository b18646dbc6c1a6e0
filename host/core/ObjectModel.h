// The host's object model: typed values, descriptors, lists and references,
// as the action suites build and read them. Containers own deep copies of what
// is put into them, so the module keeps (and frees) what it made itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vhost {

class Descriptor;
class List;
class Reference;

// Type codes of values, as GetType answers them.
namespace type {
constexpr uint32_t kInteger = 0x6C6F6E67;      // 'long'
constexpr uint32_t kFloat = 0x646F7562;        // 'doub'
constexpr uint32_t kUnitFloat = 0x556E7446;    // 'UntF'
constexpr uint32_t kText = 0x54455854;         // 'TEXT'
constexpr uint32_t kBoolean = 0x626F6F6C;      // 'bool'
constexpr uint32_t kList = 0x566C4C73;         // 'VlLs'
constexpr uint32_t kObject = 0x4F626A63;       // 'Objc'
constexpr uint32_t kGlobalObject = 0x476C624F; // 'GlbO'
constexpr uint32_t kEnumerated = 0x656E756D;   // 'enum'
constexpr uint32_t kReference = 0x6F626A20;    // 'obj '
constexpr uint32_t kClass = 0x74797065;        // 'type'
constexpr uint32_t kGlobalClass = 0x476C6243;  // 'GlbC'
constexpr uint32_t kAlias = 0x616C6973;        // 'alis'
constexpr uint32_t kPath = 0x50746820;         // 'Pth '
constexpr uint32_t kData = 0x74647461;         // 'tdta'
} // namespace type

// One typed value. Which accessors mean something depends on Type():
//   'long' Integer(); 'doub' Float(); 'UntF' Unit() and Float(); 'TEXT' Text();
//   'bool' Flag(); 'enum' EnumType() and EnumValue(); 'Objc'/'GlbO' ClassID()
//   and Object(); 'type'/'GlbC' ClassID(); 'VlLs' ListValue(); 'obj '
//   ReferenceValue(); 'alis'/'Pth '/'tdta' Text() holds the bytes.
// Copies are deep. Object(), ListValue() and ReferenceValue() throw
// std::logic_error on a value of another type.
class Value {
public:
    static Value Integer(int32_t v);
    static Value Float(double v);
    static Value UnitFloat(uint32_t unit, double v);
    static Value String(std::string text);
    static Value Boolean(bool v);
    static Value Enumerated(uint32_t enumType, uint32_t enumValue);
    static Value Class(uint32_t classID);
    static Value GlobalClass(uint32_t classID);
    static Value Object(uint32_t classID, const Descriptor& d);
    static Value GlobalObject(uint32_t classID, const Descriptor& d);
    static Value ListOf(const List& l);
    static Value ReferenceTo(const Reference& r);
    static Value Alias(std::string bytes);
    static Value Path(std::string bytes);
    static Value Data(std::string bytes);

    Value();
    Value(const Value& other);
    Value(Value&& other) noexcept;
    Value& operator=(const Value& other);
    Value& operator=(Value&& other) noexcept;
    ~Value();

    uint32_t Type() const { return type_; }
    int32_t Integer() const { return integer_; }
    double Float() const { return number_; }
    uint32_t Unit() const { return code_; }
    uint32_t ClassID() const { return code_; }
    uint32_t EnumType() const { return code_; }
    uint32_t EnumValue() const { return code2_; }
    bool Flag() const { return flag_; }
    const std::string& Text() const { return text_; }
    const Descriptor& Object() const;
    const List& ListValue() const;
    const Reference& ReferenceValue() const;

    bool operator==(const Value& other) const;

private:
    uint32_t type_ = type::kInteger;
    int32_t integer_ = 0;
    double number_ = 0;
    uint32_t code_ = 0;
    uint32_t code2_ = 0;
    bool flag_ = false;
    std::string text_;
    std::unique_ptr<Descriptor> object_;
    std::unique_ptr<List> list_;
    std::unique_ptr<Reference> reference_;
};

// Keyed values in insertion order. Putting a key that is there replaces its
// value in place (the key keeps its position).
class Descriptor {
public:
    using Item = std::pair<uint32_t, Value>;

    void Put(uint32_t key, Value v);
    const Value* Find(uint32_t key) const;
    bool Has(uint32_t key) const { return Find(key) != nullptr; }
    bool Erase(uint32_t key); // false when the key was not there
    void Clear() { items_.clear(); }
    size_t Count() const { return items_.size(); }
    const std::vector<Item>& Items() const { return items_; }

    bool operator==(const Descriptor& other) const { return items_ == other.items_; }

private:
    std::vector<Item> items_;
};

// Values in order.
class List {
public:
    void Append(Value v) { elements_.push_back(std::move(v)); }
    size_t Count() const { return elements_.size(); }
    const Value& At(size_t index) const { return elements_.at(index); }
    const std::vector<Value>& Elements() const { return elements_; }

    bool operator==(const List& other) const { return elements_ == other.elements_; }

private:
    std::vector<Value> elements_;
};

// Reference form codes, as GetForm answers them.
namespace form {
constexpr uint32_t kClass = 0x436C7373;      // 'Clss'
constexpr uint32_t kEnumerated = 0x456E6D72; // 'Enmr'
constexpr uint32_t kIdentifier = 0x49646E74; // 'Idnt'
constexpr uint32_t kIndex = 0x696E6478;      // 'indx'
constexpr uint32_t kName = 0x6E616D65;       // 'name'
constexpr uint32_t kOffset = 0x72656C65;     // 'rele'
constexpr uint32_t kProperty = 0x70726F70;   // 'prop'
} // namespace form

// One form of a reference. Fields by form: 'Enmr' code (type) and code2
// (value); 'prop' code (key); 'indx'/'Idnt' number; 'rele' offset; 'name' name.
struct ReferenceForm {
    static ReferenceForm Class(uint32_t desiredClass);
    static ReferenceForm Enumerated(uint32_t desiredClass, uint32_t enumType, uint32_t enumValue);
    static ReferenceForm Property(uint32_t desiredClass, uint32_t key);
    static ReferenceForm Index(uint32_t desiredClass, uint32_t index);
    static ReferenceForm Identifier(uint32_t desiredClass, uint32_t id);
    static ReferenceForm Offset(uint32_t desiredClass, int32_t offset);
    static ReferenceForm Name(uint32_t desiredClass, std::string name);

    uint32_t form = form::kClass;
    uint32_t desiredClass = 0;
    uint32_t code = 0;
    uint32_t code2 = 0;
    uint32_t number = 0;
    int32_t offset = 0;
    std::string name;

    bool operator==(const ReferenceForm& other) const = default;
};

// Forms in call order; the first is the outermost (what GetForm reports), the
// rest its container.
class Reference {
public:
    void Append(ReferenceForm f) { forms_.push_back(std::move(f)); }
    size_t Count() const { return forms_.size(); }
    const std::vector<ReferenceForm>& Forms() const { return forms_; }
    // The reference without its first form.
    Reference Container() const;

    bool operator==(const Reference& other) const { return forms_ == other.forms_; }

private:
    std::vector<ReferenceForm> forms_;
};

// A host string (what the module sees as ASZString): 8-bit text with a
// reference count that starts at 1.
struct HostString {
    std::string text;
    int32_t refCount = 1;
};

} // namespace vhost
