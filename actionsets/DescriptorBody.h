// Recorded descriptors as an action-set stream carries them: a class and
// keyed values of eleven types, where a value can be a nested descriptor, a
// list of values or a reference made of forms. Each object owns everything it
// points to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vlh {

class StoredStreamReader;

enum class ItemKind {
    Alias = 0,      // "alis"
    Boolean = 1,    // "bool"
    Double = 2,     // "doub"
    Enum = 3,       // "enum"
    Integer = 4,    // "long"
    Reference = 5,  // "obj "
    Object = 6,     // "Objc"
    Text = 7,       // "TEXT"
    Class = 8,      // "type"
    UnitDouble = 9, // "UntF"
    List = 10,      // "VlLs"
};

enum class FormKind {
    Class = 0,    // "Clss"
    Enum = 1,     // "Enmr"
    Index = 2,    // "indx"
    Name = 3,     // "name"
    Property = 4, // "prop"
};

// The four-character type code of a kind, and its name for messages.
uint32_t TypeCodeOf(ItemKind kind);
uint32_t FormCodeOf(FormKind kind);

class DescriptorItem;

class DescriptorBody {
public:
    std::string className;
    std::string classID;
    std::vector<std::unique_ptr<DescriptorItem>> items;
};

// One value; key is empty for a list element. Read takes what follows the
// type code and returns false when the value cannot be read.
class DescriptorItem {
public:
    explicit DescriptorItem(ItemKind itemKind) : kind(itemKind) {}
    virtual ~DescriptorItem();
    DescriptorItem(const DescriptorItem&) = delete;
    DescriptorItem& operator=(const DescriptorItem&) = delete;
    virtual bool Read(StoredStreamReader& reader) = 0;

    const ItemKind kind;
    std::string key;
};

class AliasItem final : public DescriptorItem {
public:
    AliasItem() : DescriptorItem(ItemKind::Alias) {}
    bool Read(StoredStreamReader& reader) override;
    std::string data; // raw bytes, zeros included
};

class BooleanItem final : public DescriptorItem {
public:
    BooleanItem() : DescriptorItem(ItemKind::Boolean) {}
    bool Read(StoredStreamReader& reader) override;
    bool value = false;
};

class DoubleItem final : public DescriptorItem {
public:
    DoubleItem() : DescriptorItem(ItemKind::Double) {}
    bool Read(StoredStreamReader& reader) override;
    double value = 0;
};

class EnumItem final : public DescriptorItem {
public:
    EnumItem() : DescriptorItem(ItemKind::Enum) {}
    bool Read(StoredStreamReader& reader) override;
    std::string type;
    std::string value;
};

class IntegerItem final : public DescriptorItem {
public:
    IntegerItem() : DescriptorItem(ItemKind::Integer) {}
    bool Read(StoredStreamReader& reader) override;
    int32_t value = 0;
};

class ReferenceForm;

class ReferenceItem final : public DescriptorItem {
public:
    ReferenceItem() : DescriptorItem(ItemKind::Reference) {}
    ~ReferenceItem() override;
    bool Read(StoredStreamReader& reader) override;
    std::vector<std::unique_ptr<ReferenceForm>> forms;
};

class ObjectItem final : public DescriptorItem {
public:
    ObjectItem() : DescriptorItem(ItemKind::Object) {}
    bool Read(StoredStreamReader& reader) override;
    std::unique_ptr<DescriptorBody> body;
};

class TextItem final : public DescriptorItem {
public:
    TextItem() : DescriptorItem(ItemKind::Text) {}
    bool Read(StoredStreamReader& reader) override;
    std::string text;
};

class ClassItem final : public DescriptorItem {
public:
    ClassItem() : DescriptorItem(ItemKind::Class) {}
    bool Read(StoredStreamReader& reader) override;
    std::string className; // read with the rest; conversion uses classID only
    std::string classID;
};

class UnitDoubleItem final : public DescriptorItem {
public:
    UnitDoubleItem() : DescriptorItem(ItemKind::UnitDouble) {}
    bool Read(StoredStreamReader& reader) override;
    std::string unit; // the four stored bytes as a text, not an ID
    double value = 0;
};

class ListItem final : public DescriptorItem {
public:
    ListItem() : DescriptorItem(ItemKind::List) {}
    bool Read(StoredStreamReader& reader) override;
    std::vector<std::unique_ptr<DescriptorItem>> elements;
};

// One form of a reference; Read takes everything after the form code.
class ReferenceForm {
public:
    explicit ReferenceForm(FormKind formKind) : kind(formKind) {}
    virtual ~ReferenceForm();
    ReferenceForm(const ReferenceForm&) = delete;
    ReferenceForm& operator=(const ReferenceForm&) = delete;
    virtual bool Read(StoredStreamReader& reader);

    const FormKind kind;
    std::string className;
    std::string classID;
};

class ClassForm final : public ReferenceForm {
public:
    ClassForm() : ReferenceForm(FormKind::Class) {}
};

class EnumForm final : public ReferenceForm {
public:
    EnumForm() : ReferenceForm(FormKind::Enum) {}
    bool Read(StoredStreamReader& reader) override;
    std::string type;
    std::string value;
};

class IndexForm final : public ReferenceForm {
public:
    IndexForm() : ReferenceForm(FormKind::Index) {}
    bool Read(StoredStreamReader& reader) override;
    int32_t index = 0;
};

class NameForm final : public ReferenceForm {
public:
    NameForm() : ReferenceForm(FormKind::Name) {}
    bool Read(StoredStreamReader& reader) override;
    std::string name;
};

class PropertyForm final : public ReferenceForm {
public:
    PropertyForm() : ReferenceForm(FormKind::Property) {}
    bool Read(StoredStreamReader& reader) override;
    std::string key;
};

// Reads class name, class ID, item count and the keyed items; false as soon
// as an item has an unknown type code. Raises ReaderFailure on a failed read.
bool ReadDescriptorBody(DescriptorBody& body, StoredStreamReader& reader);
// Key, type code and value; none for an unknown type code.
std::unique_ptr<DescriptorItem> ReadKeyedItem(StoredStreamReader& reader);
// Type code and value of a list element; none for an unknown code and for
// "alis", which a list may not hold.
std::unique_ptr<DescriptorItem> ReadListElement(StoredStreamReader& reader);
// Form code, then the form; none for an unknown form code.
std::unique_ptr<ReferenceForm> ReadForm(StoredStreamReader& reader);

} // namespace vlh
