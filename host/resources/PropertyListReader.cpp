#include "host/resources/PropertyListReader.h"

#include "host/resources/ByteReader.h"
#include "hostapi/FourCharCode.h"

#include <algorithm>
#include <utility>

namespace vhost {

namespace {

using vlh::FourCC;

constexpr uint16_t kWindowsPrefix = 1;
constexpr int32_t kListVersion = 0;
constexpr uint32_t kVendor = FourCC("8BIM");
constexpr size_t kPropertyHeaderSize = 16;
constexpr uint32_t kTerminologyVersion = 0;

struct RawProperty {
    uint32_t key;
    std::span<const uint8_t> data;
};

template <typename T>
void Store(std::optional<T>& slot, T value, const ByteReader& in, uint32_t key) {
    if (slot) {
        in.Fail("property " + QuotedCode(key) + " appears twice");
    }
    slot = std::move(value);
}

std::string PropertyName(const ByteReader& in, uint32_t key) {
    return in.What() + " property " + QuotedCode(key);
}

uint32_t ReadValue(const ByteReader& list, const RawProperty& p) {
    ByteReader in(p.data, PropertyName(list, p.key));
    return in.U32("value");
}

std::string ReadCounted(const ByteReader& list, const RawProperty& p) {
    ByteReader in(p.data, PropertyName(list, p.key));
    return in.CountedString("text");
}

std::string ReadTerminated(const ByteReader& list, const RawProperty& p) {
    return TerminatedString(p.data, PropertyName(list, p.key), "text");
}

TerminologyLink ReadTerminologyLink(const ByteReader& list, const RawProperty& p) {
    ByteReader in(p.data, PropertyName(list, p.key));
    uint32_t version = in.U32("version");
    if (version != kTerminologyVersion) {
        in.Fail("version " + std::to_string(version) + " is not known");
    }
    TerminologyLink link;
    link.classID = in.Code("class ID");
    link.eventID = in.Code("event ID");
    link.terminologyID = in.U16("terminology ID");
    link.scope = TerminatedString(in.Take(in.Remaining(), "scope"), in.What(), "scope string");
    return link;
}

uint16_t ReadModes(const ByteReader& list, const RawProperty& p) {
    ByteReader in(p.data, PropertyName(list, p.key));
    uint8_t first = in.U8("mode flags");
    uint8_t second = in.U8("mode flags");
    return uint16_t(first << 8 | second);
}

void Decode(PropertyList& list, const ByteReader& in, const RawProperty& p) {
    switch (p.key) {
    case FourCC("kind"):
        return Store(list.kind, ReadValue(in, p), in, p.key);
    case FourCC("name"):
        return Store(list.name, ReadCounted(in, p), in, p.key);
    case FourCC("catg"):
        return Store(list.category, ReadCounted(in, p), in, p.key);
    case FourCC("vers"):
        return Store(list.version, ReadValue(in, p), in, p.key);
    case FourCC("wx86"):
        return Store(list.entryX86, ReadTerminated(in, p), in, p.key);
    case FourCC("8664"):
        return Store(list.entryX64, ReadTerminated(in, p), in, p.key);
    case FourCC("hstm"):
        return Store(list.terminology, ReadTerminologyLink(in, p), in, p.key);
    case FourCC("mode"):
        return Store(list.modes, ReadModes(in, p), in, p.key);
    case FourCC("enbl"):
        return Store(list.enable, ReadTerminated(in, p), in, p.key);
    default:
        return; // a property this host has no use for
    }
}

RawProperty ReadProperty(ByteReader& in) {
    uint32_t vendor = in.Code("vendor");
    uint32_t key = in.Code("key");
    in.I32("property ID");
    int32_t length = in.I32("length");
    if (vendor != kVendor) {
        in.Fail("property " + QuotedCode(key) + " has vendor " + QuotedCode(vendor) + ", not '8BIM'");
    }
    if (length < 0) {
        in.Fail("property " + QuotedCode(key) + " has a negative length");
    }
    RawProperty p{key, in.Take(size_t(length), "property data")};
    // Writers differ on whether the length counts the padding; skip what is there.
    size_t padding = (4 - size_t(length) % 4) % 4;
    in.Take(std::min(padding, in.Remaining()), "padding");
    return p;
}

} // namespace

PropertyList ReadPropertyList(std::span<const uint8_t> bytes, const std::string& what) {
    ByteReader in(bytes, what);
    uint16_t prefix = in.U16("prefix");
    if (prefix != kWindowsPrefix) {
        in.Fail("starts with " + std::to_string(prefix) + ", not 1");
    }
    int32_t version = in.I32("list version");
    if (version != kListVersion) {
        in.Fail("list version " + std::to_string(version) + " is not known");
    }
    int32_t count = in.I32("property count");
    if (count < 0 || size_t(count) > in.Remaining() / kPropertyHeaderSize) {
        in.Fail("property count " + std::to_string(count) + " does not fit in the " +
                std::to_string(in.Remaining()) + " bytes that follow");
    }
    PropertyList list;
    for (int32_t i = 0; i < count; ++i) {
        Decode(list, in, ReadProperty(in));
    }
    if (in.Remaining() != 0) {
        in.Fail(std::to_string(in.Remaining()) + " bytes follow the last of its " + std::to_string(count) +
                " properties");
    }
    return list;
}

} // namespace vhost
