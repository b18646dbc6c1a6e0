// The action descriptor suite over vhost::Descriptor. Getters of a key that is
// not there answer errMissingParameter (-1715), of a key of another type -1703.
// GetString copies at most maxLength - 1 bytes and a NUL (maxLength 0: paramErr).
// Objects, lists and references put in are deep-copied; those got out are new
// objects that the caller frees.
#include <algorithm>
#include <cstring>

#include "host/suites/SuiteSupport.h"
#include "host/suites/ValueCopy.h"

namespace vhost::suites {

namespace {

template <typename Detail, typename Body>
OSErr WithDescriptor(const char* routine, PIActionDescriptor d, Detail detail, Body body) {
    return Run<OSErr>(
        routine, [&](Host& h) { return H(h, d) + detail(h); },
        [&](Host& h) -> OSErr {
            Descriptor* desc = h.Books().FindDescriptor(d, routine);
            if (desc == nullptr) {
                return paramErr;
            }
            return body(h, *desc);
        });
}

// Puts the value make(h) gives under key; make answers std::nullopt for a bad
// argument (paramErr).
template <typename Detail, typename MakeValue>
OSErr PutValue(const char* routine, PIActionDescriptor d, DescriptorKeyID key, Detail detail,
               MakeValue make) {
    return WithDescriptor(
        routine, d, [&](Host& h) { return " key=" + C(h, key) + detail(h); },
        [&](Host& h, Descriptor& desc) -> OSErr {
            std::optional<Value> v = make(h);
            if (!v) {
                return paramErr;
            }
            desc.Put(key, std::move(*v));
            return noErr;
        });
}

// Reads the value under key if it is one of the two types given; body(h, v).
template <typename Body>
OSErr GetValue(const char* routine, PIActionDescriptor d, DescriptorKeyID key, uint32_t type1, uint32_t type2,
               Body body) {
    return WithDescriptor(
        routine, d, [&](Host& h) { return " key=" + C(h, key); },
        [&](Host& h, Descriptor& desc) -> OSErr {
            const Value* v = desc.Find(key);
            if (v == nullptr) {
                return errMissingParameter;
            }
            if (v->Type() != type1 && v->Type() != type2) {
                return kWrongTypeErr;
            }
            return body(h, *v);
        });
}

auto Empty() {
    return [](Host&) { return std::string(); };
}

OSErr VLH_API Make(PIActionDescriptor* descriptor) {
    constexpr const char* kRoutine = "Descriptor.Make";
    return Run<OSErr>(kRoutine, NoDetail(), [&](Host& h) -> OSErr {
        if (NullOut(h, kRoutine, descriptor)) {
            return paramErr;
        }
        *descriptor =
            static_cast<PIActionDescriptor>(h.Books().Register(std::make_unique<Descriptor>(), kRoutine));
        return noErr;
    });
}

OSErr VLH_API Free(PIActionDescriptor descriptor) {
    constexpr const char* kRoutine = "Descriptor.Free";
    return Run<OSErr>(
        kRoutine, [&](Host& h) { return H(h, descriptor); },
        [&](Host& h) -> OSErr {
            return h.Books().Free(descriptor, ObjectKind::Descriptor, kRoutine) ? noErr : paramErr;
        });
}

OSErr VLH_API GetType(PIActionDescriptor d, DescriptorKeyID key, DescriptorTypeID* type) {
    constexpr const char* kRoutine = "Descriptor.GetType";
    return WithDescriptor(
        kRoutine, d, [&](Host& h) { return " key=" + C(h, key); },
        [&](Host& h, Descriptor& desc) -> OSErr {
            if (NullOut(h, kRoutine, type)) {
                return paramErr;
            }
            const Value* v = desc.Find(key);
            if (v == nullptr) {
                return errMissingParameter;
            }
            *type = v->Type();
            return noErr;
        });
}

OSErr VLH_API GetKey(PIActionDescriptor d, uint32_t index, DescriptorKeyID* key) {
    constexpr const char* kRoutine = "Descriptor.GetKey";
    return WithDescriptor(
        kRoutine, d, [&](Host&) { return " index=" + std::to_string(index); },
        [&](Host& h, Descriptor& desc) -> OSErr {
            if (NullOut(h, kRoutine, key)) {
                return paramErr;
            }
            if (index >= desc.Count()) {
                return kEofErr;
            }
            *key = desc.Items()[index].first;
            return noErr;
        });
}

OSErr VLH_API HasKey(PIActionDescriptor d, DescriptorKeyID key, Boolean* hasKey) {
    constexpr const char* kRoutine = "Descriptor.HasKey";
    return WithDescriptor(
        kRoutine, d, [&](Host& h) { return " key=" + C(h, key); },
        [&](Host& h, Descriptor& desc) -> OSErr {
            if (NullOut(h, kRoutine, hasKey)) {
                return paramErr;
            }
            *hasKey = desc.Has(key) ? 1 : 0;
            return noErr;
        });
}

OSErr VLH_API GetCount(PIActionDescriptor d, uint32_t* count) {
    constexpr const char* kRoutine = "Descriptor.GetCount";
    return WithDescriptor(kRoutine, d, Empty(), [&](Host& h, Descriptor& desc) -> OSErr {
        if (NullOut(h, kRoutine, count)) {
            return paramErr;
        }
        *count = static_cast<uint32_t>(desc.Count());
        return noErr;
    });
}

OSErr VLH_API IsEqual(PIActionDescriptor d, PIActionDescriptor other, Boolean* isEqual) {
    constexpr const char* kRoutine = "Descriptor.IsEqual";
    return WithDescriptor(
        kRoutine, d, [&](Host& h) { return " " + H(h, other); },
        [&](Host& h, Descriptor& desc) -> OSErr {
            const Descriptor* o = h.Books().FindDescriptor(other, kRoutine);
            if (o == nullptr || NullOut(h, kRoutine, isEqual)) {
                return paramErr;
            }
            *isEqual = desc == *o ? 1 : 0;
            return noErr;
        });
}

OSErr VLH_API Erase(PIActionDescriptor d, DescriptorKeyID key) {
    return WithDescriptor(
        "Descriptor.Erase", d, [&](Host& h) { return " key=" + C(h, key); },
        [&](Host&, Descriptor& desc) -> OSErr {
            desc.Erase(key);
            return noErr;
        });
}

OSErr VLH_API Clear(PIActionDescriptor d) {
    return WithDescriptor("Descriptor.Clear", d, Empty(), [&](Host&, Descriptor& desc) -> OSErr {
        desc.Clear();
        return noErr;
    });
}

OSErr VLH_API PutInteger(PIActionDescriptor d, DescriptorKeyID key, int32_t value) {
    return PutValue(
        "Descriptor.PutInteger", d, key, [&](Host&) { return " " + std::to_string(value); },
        [&](Host&) -> std::optional<Value> { return Value::Integer(value); });
}

OSErr VLH_API PutFloat(PIActionDescriptor d, DescriptorKeyID key, double value) {
    return PutValue(
        "Descriptor.PutFloat", d, key, [&](Host&) { return " " + DumpValue(Value::Float(value)); },
        [&](Host&) -> std::optional<Value> { return Value::Float(value); });
}

OSErr VLH_API PutUnitFloat(PIActionDescriptor d, DescriptorKeyID key, DescriptorUnitID unit, double value) {
    return PutValue(
        "Descriptor.PutUnitFloat", d, key,
        [&](Host& h) { return " " + DumpValue(Value::UnitFloat(unit, value), &h.Terms()); },
        [&](Host&) -> std::optional<Value> { return Value::UnitFloat(unit, value); });
}

OSErr VLH_API PutString(PIActionDescriptor d, DescriptorKeyID key, const char* text) {
    return PutValue(
        "Descriptor.PutString", d, key, [&](Host&) { return " " + S(text); },
        [&](Host&) -> std::optional<Value> {
            if (text == nullptr) {
                return std::nullopt;
            }
            return Value::String(std::string(text, BoundedLength(text, kMaxText)));
        });
}

OSErr VLH_API PutBoolean(PIActionDescriptor d, DescriptorKeyID key, Boolean value) {
    return PutValue(
        "Descriptor.PutBoolean", d, key, [&](Host&) { return value ? " true" : " false"; },
        [&](Host&) -> std::optional<Value> { return Value::Boolean(value != 0); });
}

OSErr VLH_API PutList(PIActionDescriptor d, DescriptorKeyID key, PIActionList value) {
    constexpr const char* kRoutine = "Descriptor.PutList";
    return PutValue(
        kRoutine, d, key, [&](Host& h) { return " " + H(h, value); },
        [&](Host& h) -> std::optional<Value> {
            const List* l = h.Books().FindList(value, kRoutine);
            return l ? std::optional<Value>(Value::ListOf(*l)) : std::nullopt;
        });
}

OSErr PutObjectOf(const char* routine, bool global, PIActionDescriptor d, DescriptorKeyID key,
                  DescriptorClassID type, PIActionDescriptor value) {
    return PutValue(
        routine, d, key, [&](Host& h) { return " class=" + C(h, type) + " " + H(h, value); },
        [&](Host& h) -> std::optional<Value> {
            const Descriptor* o = h.Books().FindDescriptor(value, routine);
            if (o == nullptr) {
                return std::nullopt;
            }
            return global ? Value::GlobalObject(type, *o) : Value::Object(type, *o);
        });
}

OSErr VLH_API PutObject(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID type,
                        PIActionDescriptor value) {
    return PutObjectOf("Descriptor.PutObject", false, d, key, type, value);
}

OSErr VLH_API PutGlobalObject(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID type,
                              PIActionDescriptor value) {
    return PutObjectOf("Descriptor.PutGlobalObject", true, d, key, type, value);
}

OSErr VLH_API PutEnumerated(PIActionDescriptor d, DescriptorKeyID key, DescriptorEnumTypeID type,
                            DescriptorEnumID value) {
    return PutValue(
        "Descriptor.PutEnumerated", d, key,
        [&](Host& h) { return " type=" + C(h, type) + " value=" + C(h, value); },
        [&](Host&) -> std::optional<Value> { return Value::Enumerated(type, value); });
}

OSErr VLH_API PutReference(PIActionDescriptor d, DescriptorKeyID key, PIActionReference value) {
    constexpr const char* kRoutine = "Descriptor.PutReference";
    return PutValue(
        kRoutine, d, key, [&](Host& h) { return " " + H(h, value); },
        [&](Host& h) -> std::optional<Value> {
            const Reference* r = h.Books().FindReference(value, kRoutine);
            return r ? std::optional<Value>(Value::ReferenceTo(*r)) : std::nullopt;
        });
}

OSErr VLH_API PutClass(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID value) {
    return PutValue(
        "Descriptor.PutClass", d, key, [&](Host& h) { return " class=" + C(h, value); },
        [&](Host&) -> std::optional<Value> { return Value::Class(value); });
}

OSErr VLH_API PutGlobalClass(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID value) {
    return PutValue(
        "Descriptor.PutGlobalClass", d, key, [&](Host& h) { return " class=" + C(h, value); },
        [&](Host&) -> std::optional<Value> { return Value::GlobalClass(value); });
}

// An alias handle's size is not known to this host: not offered.
OSErr VLH_API PutAlias(PIActionDescriptor, DescriptorKeyID, Handle) {
    return Run<OSErr>("Descriptor.PutAlias", NoDetail(), [](Host&) { return kUnimplemented16; });
}

OSErr VLH_API GetInteger(PIActionDescriptor d, DescriptorKeyID key, int32_t* value) {
    constexpr const char* kRoutine = "Descriptor.GetInteger";
    return GetValue(kRoutine, d, key, type::kInteger, type::kInteger,
                    [&](Host& h, const Value& v) { return CopyInteger(h, kRoutine, v, value); });
}

OSErr VLH_API GetFloat(PIActionDescriptor d, DescriptorKeyID key, double* value) {
    constexpr const char* kRoutine = "Descriptor.GetFloat";
    return GetValue(kRoutine, d, key, type::kFloat, type::kFloat,
                    [&](Host& h, const Value& v) { return CopyFloat(h, kRoutine, v, value); });
}

OSErr VLH_API GetUnitFloat(PIActionDescriptor d, DescriptorKeyID key, DescriptorUnitID* unit, double* value) {
    constexpr const char* kRoutine = "Descriptor.GetUnitFloat";
    return GetValue(kRoutine, d, key, type::kUnitFloat, type::kUnitFloat,
                    [&](Host& h, const Value& v) { return CopyUnitFloat(h, kRoutine, v, unit, value); });
}

OSErr VLH_API GetStringLength(PIActionDescriptor d, DescriptorKeyID key, uint32_t* length) {
    constexpr const char* kRoutine = "Descriptor.GetStringLength";
    return GetValue(kRoutine, d, key, type::kText, type::kText,
                    [&](Host& h, const Value& v) { return CopyStringLength(h, kRoutine, v, length); });
}

OSErr VLH_API GetString(PIActionDescriptor d, DescriptorKeyID key, char* text, uint32_t maxLength) {
    constexpr const char* kRoutine = "Descriptor.GetString";
    return GetValue(kRoutine, d, key, type::kText, type::kText,
                    [&](Host& h, const Value& v) { return CopyString(h, kRoutine, v, text, maxLength); });
}

OSErr VLH_API GetBoolean(PIActionDescriptor d, DescriptorKeyID key, Boolean* value) {
    constexpr const char* kRoutine = "Descriptor.GetBoolean";
    return GetValue(kRoutine, d, key, type::kBoolean, type::kBoolean,
                    [&](Host& h, const Value& v) { return CopyBoolean(h, kRoutine, v, value); });
}

OSErr VLH_API GetList(PIActionDescriptor d, DescriptorKeyID key, PIActionList* value) {
    constexpr const char* kRoutine = "Descriptor.GetList";
    return GetValue(kRoutine, d, key, type::kList, type::kList,
                    [&](Host& h, const Value& v) { return CopyList(h, kRoutine, v, value); });
}

OSErr GetObjectOf(const char* routine, uint32_t objectType, PIActionDescriptor d, DescriptorKeyID key,
                  DescriptorClassID* type, PIActionDescriptor* value) {
    return GetValue(routine, d, key, objectType, objectType,
                    [&](Host& h, const Value& v) { return CopyObject(h, routine, v, type, value); });
}

OSErr VLH_API GetObject(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID* type,
                        PIActionDescriptor* value) {
    return GetObjectOf("Descriptor.GetObject", type::kObject, d, key, type, value);
}

OSErr VLH_API GetGlobalObject(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID* type,
                              PIActionDescriptor* value) {
    return GetObjectOf("Descriptor.GetGlobalObject", type::kGlobalObject, d, key, type, value);
}

OSErr VLH_API GetEnumerated(PIActionDescriptor d, DescriptorKeyID key, DescriptorEnumTypeID* type,
                            DescriptorEnumID* value) {
    constexpr const char* kRoutine = "Descriptor.GetEnumerated";
    return GetValue(kRoutine, d, key, type::kEnumerated, type::kEnumerated,
                    [&](Host& h, const Value& v) { return CopyEnumerated(h, kRoutine, v, type, value); });
}

OSErr VLH_API GetReference(PIActionDescriptor d, DescriptorKeyID key, PIActionReference* value) {
    constexpr const char* kRoutine = "Descriptor.GetReference";
    return GetValue(kRoutine, d, key, type::kReference, type::kReference,
                    [&](Host& h, const Value& v) { return CopyReference(h, kRoutine, v, value); });
}

OSErr GetClassOf(const char* routine, uint32_t classType, PIActionDescriptor d, DescriptorKeyID key,
                 DescriptorClassID* value) {
    return GetValue(routine, d, key, classType, classType,
                    [&](Host& h, const Value& v) { return CopyClass(h, routine, v, value); });
}

OSErr VLH_API GetClass(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID* value) {
    return GetClassOf("Descriptor.GetClass", type::kClass, d, key, value);
}

OSErr VLH_API GetGlobalClass(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID* value) {
    return GetClassOf("Descriptor.GetGlobalClass", type::kGlobalClass, d, key, value);
}

OSErr VLH_API GetAlias(PIActionDescriptor, DescriptorKeyID, Handle*) {
    return Run<OSErr>("Descriptor.GetAlias", NoDetail(), [](Host&) { return kUnimplemented16; });
}

// The key array ends with a 0 key; at most kMaxKeys are read.
OSErr VLH_API HasKeys(PIActionDescriptor d, DescriptorKeyID* requiredKeys, Boolean* hasKeys) {
    constexpr const char* kRoutine = "Descriptor.HasKeys";
    constexpr size_t kMaxKeys = 4096;
    return WithDescriptor(kRoutine, d, Empty(), [&](Host& h, Descriptor& desc) -> OSErr {
        if (NullOut(h, kRoutine, hasKeys) || NullOut(h, kRoutine, requiredKeys)) {
            return paramErr;
        }
        bool all = true;
        size_t i = 0;
        for (; i < kMaxKeys && requiredKeys[i] != 0; ++i) {
            all = all && desc.Has(requiredKeys[i]);
        }
        if (i == kMaxKeys) {
            return paramErr;
        }
        *hasKeys = all ? 1 : 0;
        return noErr;
    });
}

OSErr VLH_API PutIntegers(PIActionDescriptor d, DescriptorKeyID key, uint32_t count, int32_t* values) {
    return PutValue(
        "Descriptor.PutIntegers", d, key, [&](Host&) { return " count=" + std::to_string(count); },
        [&](Host&) -> std::optional<Value> {
            if ((values == nullptr && count != 0) || count > kMaxText) {
                return std::nullopt;
            }
            List l;
            for (uint32_t i = 0; i < count; ++i) {
                l.Append(Value::Integer(values[i]));
            }
            return Value::ListOf(l);
        });
}

OSErr VLH_API GetIntegers(PIActionDescriptor d, DescriptorKeyID key, uint32_t count, int32_t* values) {
    constexpr const char* kRoutine = "Descriptor.GetIntegers";
    return GetValue(kRoutine, d, key, type::kList, type::kList, [&](Host& h, const Value& v) -> OSErr {
        const List& l = v.ListValue();
        if ((count != 0 && NullOut(h, kRoutine, values)) || count > l.Count()) {
            return paramErr;
        }
        for (uint32_t i = 0; i < count; ++i) {
            if (l.At(i).Type() != type::kInteger) {
                return kWrongTypeErr;
            }
            values[i] = l.At(i).Integer();
        }
        return noErr;
    });
}

OSErr VLH_API AsHandle(PIActionDescriptor, PIDescriptorHandle*) {
    return Run<OSErr>("Descriptor.AsHandle", NoDetail(), [](Host&) { return kUnimplemented16; });
}

OSErr VLH_API HandleToDescriptor(PIDescriptorHandle, PIActionDescriptor*) {
    return Run<OSErr>("Descriptor.HandleToDescriptor", NoDetail(), [](Host&) { return kUnimplemented16; });
}

OSErr VLH_API PutZString(PIActionDescriptor d, DescriptorKeyID key, ASZString zstring) {
    constexpr const char* kRoutine = "Descriptor.PutZString";
    return PutValue(
        kRoutine, d, key, [&](Host& h) { return " " + H(h, zstring); },
        [&](Host& h) -> std::optional<Value> {
            const HostString* s = h.Books().FindString(zstring, kRoutine);
            return s ? std::optional<Value>(Value::String(s->text)) : std::nullopt;
        });
}

OSErr VLH_API GetZString(PIActionDescriptor d, DescriptorKeyID key, ASZString* zstring) {
    constexpr const char* kRoutine = "Descriptor.GetZString";
    return GetValue(kRoutine, d, key, type::kText, type::kText,
                    [&](Host& h, const Value& v) { return CopyZString(h, kRoutine, v, zstring); });
}

OSErr VLH_API PutData(PIActionDescriptor d, DescriptorKeyID key, int32_t length, void* bytes) {
    return PutValue(
        "Descriptor.PutData", d, key, [&](Host&) { return " length=" + std::to_string(length); },
        [&](Host&) -> std::optional<Value> {
            if (length < 0 || size_t(length) > kMaxText || (bytes == nullptr && length != 0)) {
                return std::nullopt;
            }
            return Value::Data(std::string(static_cast<const char*>(bytes), size_t(length)));
        });
}

OSErr VLH_API GetDataLength(PIActionDescriptor d, DescriptorKeyID key, int32_t* length) {
    constexpr const char* kRoutine = "Descriptor.GetDataLength";
    return GetValue(kRoutine, d, key, type::kData, type::kData,
                    [&](Host& h, const Value& v) { return CopyDataLength(h, kRoutine, v, length); });
}

// The buffer must hold GetDataLength bytes.
OSErr VLH_API GetData(PIActionDescriptor d, DescriptorKeyID key, void* bytes) {
    constexpr const char* kRoutine = "Descriptor.GetData";
    return GetValue(kRoutine, d, key, type::kData, type::kData,
                    [&](Host& h, const Value& v) { return CopyData(h, kRoutine, v, bytes); });
}

const PSActionDescriptorProcs kDescriptorSuite = {
    Make,
    Free,
    GetType,
    GetKey,
    HasKey,
    GetCount,
    IsEqual,
    Erase,
    Clear,
    PutInteger,
    PutFloat,
    PutUnitFloat,
    PutString,
    PutBoolean,
    PutList,
    PutObject,
    PutGlobalObject,
    PutEnumerated,
    PutReference,
    PutClass,
    PutGlobalClass,
    PutAlias,
    GetInteger,
    GetFloat,
    GetUnitFloat,
    GetStringLength,
    GetString,
    GetBoolean,
    GetList,
    GetObject,
    GetGlobalObject,
    GetEnumerated,
    GetReference,
    GetClass,
    GetGlobalClass,
    GetAlias,
    HasKeys,
    PutIntegers,
    GetIntegers,
    AsHandle,
    HandleToDescriptor,
    PutZString,
    GetZString,
    PutData,
    GetDataLength,
    GetData,
};

} // namespace

const PSActionDescriptorProcs& DescriptorSuiteTable() {
    return kDescriptorSuite;
}

} // namespace vhost::suites
