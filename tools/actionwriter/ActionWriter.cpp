#include "tools/actionwriter/ActionWriter.h"

#include <stdexcept>

#include <zlib.h>

#include "tools/actionwriter/PlainWriter.h"

namespace vtools {

namespace {

constexpr uint8_t kSeed = 0x5B;

void WriteDescriptor(PlainWriter& out, const DescriptorModel& body);
void WritePayload(PlainWriter& out, const ValueModel& value);

void WriteForm(PlainWriter& out, const FormModel& form) {
    out.Code(form.code);
    if (form.layout == FormLayout::Raw) {
        out.Raw(form.raw);
        return;
    }
    out.Unicode(form.className);
    out.Id(form.classId);
    switch (form.layout) {
    case FormLayout::Enum:
        out.Id(form.type);
        out.Id(form.value);
        break;
    case FormLayout::Index:
        out.Int32(form.index);
        break;
    case FormLayout::Name:
        out.Unicode(form.name);
        break;
    case FormLayout::Property:
        out.Id(form.value);
        break;
    case FormLayout::Class:
    case FormLayout::Raw:
        break;
    }
}

void WriteValue(PlainWriter& out, const ValueModel& value) {
    out.Code(value.type);
    WritePayload(out, value);
}

void WritePayload(PlainWriter& out, const ValueModel& value) {
    switch (value.layout) {
    case ValueLayout::Alias:
        out.Int32(value.count.value_or(int32_t(value.data.size())));
        out.Raw(value.data);
        break;
    case ValueLayout::Boolean:
        out.Byte(value.flag);
        break;
    case ValueLayout::Double:
        out.Double(value.number);
        break;
    case ValueLayout::Enum:
        out.Id(value.first);
        out.Id(value.second);
        break;
    case ValueLayout::Integer:
        out.Int32(value.integer);
        break;
    case ValueLayout::Reference:
        out.Int32(value.count.value_or(int32_t(value.forms.size())));
        for (const FormModel& form : value.forms) {
            WriteForm(out, form);
        }
        break;
    case ValueLayout::Object:
        WriteDescriptor(out, value.object);
        break;
    case ValueLayout::Text:
        out.Unicode(value.text);
        break;
    case ValueLayout::Class:
        out.Unicode(value.text);
        out.Id(value.first);
        break;
    case ValueLayout::UnitDouble:
        out.Code(value.unit);
        out.Double(value.number);
        break;
    case ValueLayout::List:
        out.Int32(value.count.value_or(int32_t(value.elements.size())));
        for (const ValueModel& element : value.elements) {
            WriteValue(out, element);
        }
        break;
    case ValueLayout::Raw:
        out.Raw(value.data);
        break;
    }
}

void WriteDescriptor(PlainWriter& out, const DescriptorModel& body) {
    out.Unicode(body.className);
    out.Id(body.classId);
    out.Int32(body.count.value_or(int32_t(body.items.size())));
    for (const ItemModel& item : body.items) {
        out.Id(item.key);
        WriteValue(out, item.value);
    }
}

void WriteEvent(PlainWriter& out, const EventModel& event) {
    out.Byte(event.expanded);
    out.Byte(event.enabled);
    out.Byte(event.withDialog);
    out.Byte(event.dialogOptions);
    out.Code(event.identifierKind);
    out.Text(event.eventName);
    out.Text(event.displayName);
    out.Int32(event.descriptorFlag.value_or(event.descriptor ? -1 : 0));
    if (event.descriptor) {
        WriteDescriptor(out, *event.descriptor);
    }
}

void WriteEffect(PlainWriter& out, const EffectModel& effect) {
    out.Int16(effect.functionKey);
    out.Byte(effect.shift);
    out.Byte(effect.command);
    out.Int16(effect.colour);
    out.Unicode(effect.name);
    out.Byte(effect.expanded);
    out.Int32(effect.eventCount.value_or(int32_t(effect.events.size())));
    for (const EventModel& event : effect.events) {
        WriteEvent(out, event);
    }
}

} // namespace

Bytes SerialiseSet(const SetModel& set) {
    PlainWriter out;
    out.Int32(set.version);
    out.Unicode(set.name);
    out.Byte(set.expanded);
    out.Int32(set.effectCount.value_or(int32_t(set.effects.size())));
    for (const EffectModel& effect : set.effects) {
        WriteEffect(out, effect);
    }
    return out.take();
}

Bytes SerialiseDescriptor(const DescriptorModel& body) {
    PlainWriter out;
    WriteDescriptor(out, body);
    return out.take();
}

Bytes Compress(std::span<const uint8_t> plain) {
    uLongf size = compressBound(uLong(plain.size()));
    Bytes compressed(size);
    if (compress2(compressed.data(), &size, plain.data(), uLong(plain.size()), Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("zlib cannot compress the action set");
    }
    compressed.resize(size);
    return compressed;
}

Bytes Scramble(std::span<const uint8_t> compressed) {
    Bytes stored(compressed.size());
    uint8_t previous = kSeed;
    for (size_t i = 0; i < compressed.size(); ++i) {
        stored[i] = uint8_t(compressed[i] ^ previous ^ uint8_t(i & 0xFF));
        previous = stored[i];
    }
    return stored;
}

Bytes Unscramble(std::span<const uint8_t> stored) {
    Bytes compressed(stored.size());
    uint8_t previous = kSeed;
    for (size_t i = 0; i < stored.size(); ++i) {
        compressed[i] = uint8_t(stored[i] ^ previous ^ uint8_t(i & 0xFF));
        previous = stored[i];
    }
    return compressed;
}

Bytes RawToStored(std::span<const uint8_t> raw) {
    return Scramble(Compress(raw));
}

Bytes WriteStoredSet(const SetModel& set) {
    return RawToStored(SerialiseSet(set));
}

} // namespace vtools
