#include "actionsets/DescriptorBody.h"

#include <array>
#include <utility>

#include "actionsets/StoredStreamReader.h"
#include "hostapi/FourCharCode.h"

namespace vlh {

namespace {

// The fewest stream bytes one entry of each counted list can take, so that a
// count the rest of the stream cannot hold fails before anything is read:
// a keyed item is an ID (5 bytes at least), a type code and a one-byte value;
// a list element a type code and a one-byte value; a form its code, an empty
// Unicode text and an ID.
constexpr uint64_t kMinKeyedItemBytes = 5 + 4 + 1;
constexpr uint64_t kMinListElementBytes = 4 + 1;
constexpr uint64_t kMinFormBytes = 4 + 4 + 5;

struct ItemRow {
    uint32_t code;
    ItemKind kind;
    std::unique_ptr<DescriptorItem> (*make)();
};

template <typename T>
std::unique_ptr<DescriptorItem> MakeItem() {
    return std::make_unique<T>();
}

constexpr std::array<ItemRow, 11> kItemTable = {{
    {FourCC("alis"), ItemKind::Alias, MakeItem<AliasItem>},
    {FourCC("bool"), ItemKind::Boolean, MakeItem<BooleanItem>},
    {FourCC("doub"), ItemKind::Double, MakeItem<DoubleItem>},
    {FourCC("enum"), ItemKind::Enum, MakeItem<EnumItem>},
    {FourCC("long"), ItemKind::Integer, MakeItem<IntegerItem>},
    {FourCC("obj "), ItemKind::Reference, MakeItem<ReferenceItem>},
    {FourCC("Objc"), ItemKind::Object, MakeItem<ObjectItem>},
    {FourCC("TEXT"), ItemKind::Text, MakeItem<TextItem>},
    {FourCC("type"), ItemKind::Class, MakeItem<ClassItem>},
    {FourCC("UntF"), ItemKind::UnitDouble, MakeItem<UnitDoubleItem>},
    {FourCC("VlLs"), ItemKind::List, MakeItem<ListItem>},
}};

struct FormRow {
    uint32_t code;
    FormKind kind;
    std::unique_ptr<ReferenceForm> (*make)();
};

template <typename T>
std::unique_ptr<ReferenceForm> MakeForm() {
    return std::make_unique<T>();
}

constexpr std::array<FormRow, 5> kFormTable = {{
    {FourCC("Clss"), FormKind::Class, MakeForm<ClassForm>},
    {FourCC("Enmr"), FormKind::Enum, MakeForm<EnumForm>},
    {FourCC("indx"), FormKind::Index, MakeForm<IndexForm>},
    {FourCC("name"), FormKind::Name, MakeForm<NameForm>},
    {FourCC("prop"), FormKind::Property, MakeForm<PropertyForm>},
}};

const ItemRow* FindItemRow(uint32_t code) {
    for (const ItemRow& row : kItemTable) {
        if (row.code == code) {
            return &row;
        }
    }
    return nullptr;
}

// Creates the item for a type code (none for an unknown one), attaches the
// key and reads the value; a value that cannot be read fails the whole load.
std::unique_ptr<DescriptorItem> ReadValue(StoredStreamReader& reader, std::string key, bool inList) {
    const uint64_t codeAt = reader.PlainOffset();
    const uint32_t code = reader.ReadCode();
    const ItemRow* row = FindItemRow(code);
    if (row == nullptr || (inList && row->kind == ItemKind::Alias)) {
        reader.NoteFaultAt((row == nullptr ? "unknown value type '" : "a list may not hold the type '") +
                               FourCCText(code) + "'",
                           codeAt);
        return nullptr;
    }
    std::unique_ptr<DescriptorItem> item = row->make();
    item->key = std::move(key);
    if (!item->Read(reader)) {
        reader.NoteFaultAt("a '" + FourCCText(code) + "' value that cannot be read", codeAt);
        throw ReaderFailure("a value that cannot be read");
    }
    return item;
}

} // namespace

uint32_t TypeCodeOf(ItemKind kind) {
    return kItemTable[size_t(kind)].code;
}
uint32_t FormCodeOf(FormKind kind) {
    return kFormTable[size_t(kind)].code;
}

DescriptorItem::~DescriptorItem() = default;
ReferenceForm::~ReferenceForm() = default;
ReferenceItem::~ReferenceItem() = default;

bool ReadDescriptorBody(DescriptorBody& body, StoredStreamReader& reader) {
    StoredStreamReader::NestingGuard level(reader);
    body.className = reader.ReadUnicodeText();
    body.classID = reader.ReadID();
    const int32_t count = reader.ReadInt32();
    reader.CheckCount(count, kMinKeyedItemBytes, "an item count beyond the rest of the stream");
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<DescriptorItem> item = ReadKeyedItem(reader);
        if (item == nullptr) {
            return false;
        }
        body.items.push_back(std::move(item));
    }
    return true;
}

std::unique_ptr<DescriptorItem> ReadKeyedItem(StoredStreamReader& reader) {
    std::string key = reader.ReadID();
    return ReadValue(reader, std::move(key), false);
}

std::unique_ptr<DescriptorItem> ReadListElement(StoredStreamReader& reader) {
    return ReadValue(reader, {}, true);
}

std::unique_ptr<ReferenceForm> ReadForm(StoredStreamReader& reader) {
    const uint64_t codeAt = reader.PlainOffset();
    const uint32_t code = reader.ReadCode();
    for (const FormRow& row : kFormTable) {
        if (row.code == code) {
            std::unique_ptr<ReferenceForm> form = row.make();
            if (!form->Read(reader)) {
                reader.NoteFaultAt("a '" + FourCCText(code) + "' form that cannot be read", codeAt);
                throw ReaderFailure("a form that cannot be read");
            }
            return form;
        }
    }
    reader.NoteFaultAt("unknown reference form '" + FourCCText(code) + "'", codeAt);
    return nullptr;
}

// ---- values -----------------------------------------------------------------

bool AliasItem::Read(StoredStreamReader& reader) {
    const int32_t length = reader.ReadInt32();
    if (length < 0) {
        reader.NoteFault("a negative alias length");
        return false;
    }
    data = reader.ReadCountedBytes(uint64_t(length));
    return true;
}

bool BooleanItem::Read(StoredStreamReader& reader) {
    value = reader.ReadByte() != 0;
    return true;
}

bool DoubleItem::Read(StoredStreamReader& reader) {
    value = reader.ReadDouble();
    return true;
}

bool EnumItem::Read(StoredStreamReader& reader) {
    type = reader.ReadID();
    value = reader.ReadID();
    return true;
}

bool IntegerItem::Read(StoredStreamReader& reader) {
    value = reader.ReadInt32();
    return true;
}

bool ReferenceItem::Read(StoredStreamReader& reader) {
    const int32_t count = reader.ReadInt32();
    reader.CheckCount(count, kMinFormBytes, "a form count beyond the rest of the stream");
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<ReferenceForm> form = ReadForm(reader);
        if (form == nullptr) {
            return false;
        }
        forms.push_back(std::move(form));
    }
    return true;
}

bool ObjectItem::Read(StoredStreamReader& reader) {
    auto nested = std::make_unique<DescriptorBody>();
    if (!ReadDescriptorBody(*nested, reader)) {
        return false;
    }
    body = std::move(nested);
    return true;
}

bool TextItem::Read(StoredStreamReader& reader) {
    text = reader.ReadUnicodeText();
    return true;
}

bool ClassItem::Read(StoredStreamReader& reader) {
    className = reader.ReadUnicodeText();
    classID = reader.ReadID();
    return true;
}

bool UnitDoubleItem::Read(StoredStreamReader& reader) {
    char code[5] = {};
    reader.BeginField();
    reader.Read(code, 4);
    unit = code; // up to the first zero, like every text
    value = reader.ReadDouble();
    return true;
}

bool ListItem::Read(StoredStreamReader& reader) {
    StoredStreamReader::NestingGuard level(reader);
    const int32_t count = reader.ReadInt32();
    reader.CheckCount(count, kMinListElementBytes, "an element count beyond the rest of the stream");
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<DescriptorItem> element = ReadListElement(reader);
        if (element == nullptr) {
            return false;
        }
        elements.push_back(std::move(element));
    }
    return true;
}

// ---- reference forms ----------------------------------------------------------

bool ReferenceForm::Read(StoredStreamReader& reader) {
    className = reader.ReadUnicodeText();
    classID = reader.ReadID();
    return true;
}

bool EnumForm::Read(StoredStreamReader& reader) {
    ReferenceForm::Read(reader);
    type = reader.ReadID();
    value = reader.ReadID();
    return true;
}

bool IndexForm::Read(StoredStreamReader& reader) {
    ReferenceForm::Read(reader);
    index = reader.ReadInt32();
    return true;
}

bool NameForm::Read(StoredStreamReader& reader) {
    ReferenceForm::Read(reader);
    name = reader.ReadUnicodeText();
    return true;
}

bool PropertyForm::Read(StoredStreamReader& reader) {
    ReferenceForm::Read(reader);
    key = reader.ReadID();
    return true;
}

} // namespace vlh
