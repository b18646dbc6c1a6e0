// An action set as it is written: every field of the host's action-set layout
// with its value, including the ones a reader checks (version, identifier
// kind, descriptor flag, counts, type and form codes). Factories fill in the
// fields of a well-formed stream; any field can then be changed to describe a
// damaged one: a wrong version, an unknown code, a count that disagrees with
// what follows. Truncation is done on the written bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vtools {

using Bytes = std::vector<uint8_t>;

// Int32 count of UTF-16 code units, then the units, most significant byte
// first. The count normally includes a terminating zero unit.
struct UnicodeText {
    std::u16string units;         // without the terminating zero
    bool terminated = true;       // write (and count) a zero unit after the units
    std::optional<int32_t> count; // written instead of the real count

    // Each byte of an 8-bit text becomes one code unit.
    static UnicodeText Latin1(std::string_view text);
};

// Int32 length, then the bytes.
struct ByteText {
    std::string bytes;
    std::optional<int32_t> length; // written instead of the real length

    static ByteText Of(std::string_view text) { return {std::string(text), {}}; }
};

// Int32 length n; n == 0: a four-character code follows; otherwise a string ID
// of n bytes.
struct IdField {
    int32_t length = 0;
    std::string bytes;

    // A four-character code ("Nm  "); throws std::invalid_argument unless the
    // text has exactly four bytes.
    static IdField Code(std::string_view code);
    // A string ID ("unsharpMask"), its length as the length field.
    static IdField String(std::string_view id);
    // Any length field with any bytes after it.
    static IdField Raw(int32_t length, std::string bytes) { return {length, std::move(bytes)}; }
};

// How a value's or a form's payload is laid out after its code.
enum class ValueLayout {
    Alias,
    Boolean,
    Double,
    Enum,
    Integer,
    Reference,
    Object,
    Text,
    Class,
    UnitDouble,
    List,
    Raw
};
enum class FormLayout { Class, Enum, Index, Name, Property, Raw };

// Form code (four bytes), class name, class ID, then the form's own data.
struct FormModel {
    std::string code;
    FormLayout layout = FormLayout::Raw;
    UnicodeText className;
    IdField classId;
    IdField type;  // Enum
    IdField value; // Enum; Property key
    int32_t index = 0;
    UnicodeText name;
    Bytes raw; // Raw: written right after the code instead of everything else

    static FormModel Class(IdField classId);
    static FormModel Enum(IdField classId, IdField type, IdField value);
    static FormModel Index(IdField classId, int32_t index);
    static FormModel Name(IdField classId, UnicodeText name);
    static FormModel Property(IdField classId, IdField key);
    static FormModel Raw(std::string code, Bytes after);
};

struct ItemModel;

// Class name, class ID, Int32 item count, keyed items.
struct DescriptorModel {
    UnicodeText className;
    IdField classId;
    std::vector<ItemModel> items;
    std::optional<int32_t> count; // written instead of the real item count

    static DescriptorModel Of(IdField classId, std::vector<ItemModel> items);
};

// A type code (four bytes written as they stand) and the payload its layout
// names; the fields a layout does not use are ignored.
struct ValueModel {
    std::string type;
    ValueLayout layout = ValueLayout::Raw;
    uint8_t flag = 0;                 // Boolean (any byte)
    int32_t integer = 0;              // Integer
    double number = 0;                // Double, UnitDouble
    IdField first;                    // Enum type; Class ID
    IdField second;                   // Enum value
    UnicodeText text;                 // Text; Class name
    std::string unit;                 // UnitDouble: four bytes as they stand
    Bytes data;                       // Alias data; Raw payload
    std::optional<int32_t> count;     // Alias length, form or element count written instead
    std::vector<FormModel> forms;     // Reference
    DescriptorModel object;           // Object
    std::vector<ValueModel> elements; // List

    static ValueModel Alias(Bytes data);
    static ValueModel Boolean(bool value);
    static ValueModel Double(double value);
    static ValueModel Enum(IdField type, IdField value);
    static ValueModel Integer(int32_t value);
    static ValueModel Reference(std::vector<FormModel> forms);
    static ValueModel Object(DescriptorModel body);
    static ValueModel Text(UnicodeText text);
    static ValueModel Class(IdField classId, UnicodeText className = {});
    static ValueModel UnitDouble(std::string_view unit, double value);
    static ValueModel List(std::vector<ValueModel> elements);
    // Any four-byte type code followed by any bytes.
    static ValueModel Raw(std::string type, Bytes payload);
};

struct ItemModel {
    IdField key;
    ValueModel value;
};

struct EventModel {
    uint8_t expanded = 0;
    uint8_t enabled = 1;
    uint8_t withDialog = 0;
    uint8_t dialogOptions = 0;
    std::string identifierKind = "TEXT"; // four bytes as they stand
    ByteText eventName;
    ByteText displayName;
    std::optional<DescriptorModel> descriptor;
    std::optional<int32_t> descriptorFlag; // default: -1 with a descriptor, 0 without

    static EventModel Named(std::string_view eventName, std::optional<DescriptorModel> descriptor = {});
};

struct EffectModel {
    int16_t functionKey = 0;
    uint8_t shift = 0;
    uint8_t command = 0;
    int16_t colour = 0;
    UnicodeText name;
    uint8_t expanded = 0;
    std::vector<EventModel> events;
    std::optional<int32_t> eventCount; // written instead of the real count

    static EffectModel Named(std::string_view name, std::vector<EventModel> events = {});
};

struct SetModel {
    int32_t version = 16;
    UnicodeText name;
    uint8_t expanded = 0;
    std::vector<EffectModel> effects;
    std::optional<int32_t> effectCount; // written instead of the real count

    static SetModel Named(std::string_view name, std::vector<EffectModel> effects = {});
};

} // namespace vtools
