#include "host/suites/ValueCopy.h"

#include <algorithm>
#include <cstring>

namespace vhost::suites {

OSErr CopyInteger(Host& h, const char* routine, const Value& v, int32_t* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = v.Integer();
    return noErr;
}

OSErr CopyFloat(Host& h, const char* routine, const Value& v, double* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = v.Float();
    return noErr;
}

OSErr CopyUnitFloat(Host& h, const char* routine, const Value& v, DescriptorUnitID* unit, double* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    if (unit != nullptr) {
        *unit = v.Unit();
    }
    *out = v.Float();
    return noErr;
}

OSErr CopyStringLength(Host& h, const char* routine, const Value& v, uint32_t* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = static_cast<uint32_t>(v.Text().size());
    return noErr;
}

OSErr CopyString(Host& h, const char* routine, const Value& v, char* out, uint32_t maxLength) {
    if (NullOut(h, routine, out) || maxLength == 0) {
        return paramErr;
    }
    const size_t n = std::min<size_t>(v.Text().size(), maxLength - 1);
    std::memcpy(out, v.Text().data(), n);
    out[n] = '\0';
    return noErr;
}

OSErr CopyBoolean(Host& h, const char* routine, const Value& v, Boolean* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = v.Flag() ? 1 : 0;
    return noErr;
}

OSErr CopyList(Host& h, const char* routine, const Value& v, PIActionList* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = static_cast<PIActionList>(h.Books().Register(std::make_unique<List>(v.ListValue()), routine));
    return noErr;
}

OSErr CopyObject(Host& h, const char* routine, const Value& v, DescriptorClassID* type,
                 PIActionDescriptor* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    if (type != nullptr) {
        *type = v.ClassID();
    }
    *out = static_cast<PIActionDescriptor>(
        h.Books().Register(std::make_unique<Descriptor>(v.Object()), routine));
    return noErr;
}

OSErr CopyEnumerated(Host& h, const char* routine, const Value& v, DescriptorEnumTypeID* type,
                     DescriptorEnumID* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    if (type != nullptr) {
        *type = v.EnumType();
    }
    *out = v.EnumValue();
    return noErr;
}

OSErr CopyReference(Host& h, const char* routine, const Value& v, PIActionReference* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = static_cast<PIActionReference>(
        h.Books().Register(std::make_unique<Reference>(v.ReferenceValue()), routine));
    return noErr;
}

OSErr CopyClass(Host& h, const char* routine, const Value& v, DescriptorClassID* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = v.ClassID();
    return noErr;
}

OSErr CopyZString(Host& h, const char* routine, const Value& v, ASZString* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = NewHostString(h, v.Text(), routine);
    return noErr;
}

OSErr CopyDataLength(Host& h, const char* routine, const Value& v, int32_t* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    *out = static_cast<int32_t>(v.Text().size());
    return noErr;
}

OSErr CopyData(Host& h, const char* routine, const Value& v, void* out) {
    if (NullOut(h, routine, out)) {
        return paramErr;
    }
    std::memcpy(out, v.Text().data(), v.Text().size());
    return noErr;
}

} // namespace vhost::suites
