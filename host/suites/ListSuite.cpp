// The action list suite over vhost::List. Elements keep call order; an index
// past the end answers errMissingParameter (-1715), an element of another type
// -1703. GetString copies at most maxLength - 1 bytes and a NUL.
#include <algorithm>
#include <cstring>

#include "host/suites/SuiteSupport.h"
#include "host/suites/ValueCopy.h"

namespace vhost::suites {

namespace {

template <typename Detail, typename Body>
OSErr WithList(const char* routine, PIActionList l, Detail detail, Body body) {
    return Run<OSErr>(
        routine, [&](Host& h) { return H(h, l) + detail(h); },
        [&](Host& h) -> OSErr {
            List* list = h.Books().FindList(l, routine);
            if (list == nullptr) {
                return paramErr;
            }
            return body(h, *list);
        });
}

template <typename Detail, typename MakeValue>
OSErr PutValue(const char* routine, PIActionList l, Detail detail, MakeValue make) {
    return WithList(routine, l, detail, [&](Host& h, List& list) -> OSErr {
        std::optional<Value> v = make(h);
        if (!v) {
            return paramErr;
        }
        list.Append(std::move(*v));
        return noErr;
    });
}

template <typename Body>
OSErr GetValue(const char* routine, PIActionList l, uint32_t index, uint32_t type1, uint32_t type2,
               Body body) {
    return WithList(
        routine, l, [&](Host&) { return " index=" + std::to_string(index); },
        [&](Host& h, List& list) -> OSErr {
            if (index >= list.Count()) {
                return errMissingParameter;
            }
            const Value& v = list.At(index);
            if (v.Type() != type1 && v.Type() != type2) {
                return kWrongTypeErr;
            }
            return body(h, v);
        });
}

OSErr VLH_API Make(PIActionList* list) {
    constexpr const char* kRoutine = "List.Make";
    return Run<OSErr>(kRoutine, NoDetail(), [&](Host& h) -> OSErr {
        if (NullOut(h, kRoutine, list)) {
            return paramErr;
        }
        *list = static_cast<PIActionList>(h.Books().Register(std::make_unique<List>(), kRoutine));
        return noErr;
    });
}

OSErr VLH_API Free(PIActionList list) {
    constexpr const char* kRoutine = "List.Free";
    return Run<OSErr>(
        kRoutine, [&](Host& h) { return H(h, list); },
        [&](Host& h) -> OSErr {
            return h.Books().Free(list, ObjectKind::List, kRoutine) ? noErr : paramErr;
        });
}

OSErr VLH_API GetType(PIActionList l, uint32_t index, DescriptorTypeID* value) {
    constexpr const char* kRoutine = "List.GetType";
    return WithList(
        kRoutine, l, [&](Host&) { return " index=" + std::to_string(index); },
        [&](Host& h, List& list) -> OSErr {
            if (NullOut(h, kRoutine, value)) {
                return paramErr;
            }
            if (index >= list.Count()) {
                return errMissingParameter;
            }
            *value = list.At(index).Type();
            return noErr;
        });
}

OSErr VLH_API GetCount(PIActionList l, uint32_t* value) {
    constexpr const char* kRoutine = "List.GetCount";
    return WithList(
        kRoutine, l, [](Host&) { return std::string(); },
        [&](Host& h, List& list) -> OSErr {
            if (NullOut(h, kRoutine, value)) {
                return paramErr;
            }
            *value = static_cast<uint32_t>(list.Count());
            return noErr;
        });
}

OSErr VLH_API PutInteger(PIActionList l, int32_t value) {
    return PutValue(
        "List.PutInteger", l, [&](Host&) { return " " + std::to_string(value); },
        [&](Host&) -> std::optional<Value> { return Value::Integer(value); });
}

OSErr VLH_API PutFloat(PIActionList l, double value) {
    return PutValue(
        "List.PutFloat", l, [&](Host&) { return " " + DumpValue(Value::Float(value)); },
        [&](Host&) -> std::optional<Value> { return Value::Float(value); });
}

OSErr VLH_API PutUnitFloat(PIActionList l, DescriptorUnitID unit, double value) {
    return PutValue(
        "List.PutUnitFloat", l,
        [&](Host& h) { return " " + DumpValue(Value::UnitFloat(unit, value), &h.Terms()); },
        [&](Host&) -> std::optional<Value> { return Value::UnitFloat(unit, value); });
}

OSErr VLH_API PutString(PIActionList l, const char* text) {
    return PutValue(
        "List.PutString", l, [&](Host&) { return " " + S(text); },
        [&](Host&) -> std::optional<Value> {
            if (text == nullptr) {
                return std::nullopt;
            }
            return Value::String(std::string(text, BoundedLength(text, kMaxText)));
        });
}

OSErr VLH_API PutBoolean(PIActionList l, Boolean value) {
    return PutValue(
        "List.PutBoolean", l, [&](Host&) { return value ? " true" : " false"; },
        [&](Host&) -> std::optional<Value> { return Value::Boolean(value != 0); });
}

OSErr VLH_API PutList(PIActionList l, PIActionList value) {
    constexpr const char* kRoutine = "List.PutList";
    return PutValue(
        kRoutine, l, [&](Host& h) { return " " + H(h, value); },
        [&](Host& h) -> std::optional<Value> {
            const List* other = h.Books().FindList(value, kRoutine);
            return other ? std::optional<Value>(Value::ListOf(*other)) : std::nullopt;
        });
}

OSErr PutObjectOf(const char* routine, bool global, PIActionList l, DescriptorClassID type,
                  PIActionDescriptor value) {
    return PutValue(
        routine, l, [&](Host& h) { return " class=" + C(h, type) + " " + H(h, value); },
        [&](Host& h) -> std::optional<Value> {
            const Descriptor* o = h.Books().FindDescriptor(value, routine);
            if (o == nullptr) {
                return std::nullopt;
            }
            return global ? Value::GlobalObject(type, *o) : Value::Object(type, *o);
        });
}

OSErr VLH_API PutObject(PIActionList l, DescriptorClassID type, PIActionDescriptor value) {
    return PutObjectOf("List.PutObject", false, l, type, value);
}

OSErr VLH_API PutGlobalObject(PIActionList l, DescriptorClassID type, PIActionDescriptor value) {
    return PutObjectOf("List.PutGlobalObject", true, l, type, value);
}

OSErr VLH_API PutEnumerated(PIActionList l, DescriptorEnumTypeID type, DescriptorEnumID value) {
    return PutValue(
        "List.PutEnumerated", l, [&](Host& h) { return " type=" + C(h, type) + " value=" + C(h, value); },
        [&](Host&) -> std::optional<Value> { return Value::Enumerated(type, value); });
}

OSErr VLH_API PutReference(PIActionList l, PIActionReference value) {
    constexpr const char* kRoutine = "List.PutReference";
    return PutValue(
        kRoutine, l, [&](Host& h) { return " " + H(h, value); },
        [&](Host& h) -> std::optional<Value> {
            const Reference* r = h.Books().FindReference(value, kRoutine);
            return r ? std::optional<Value>(Value::ReferenceTo(*r)) : std::nullopt;
        });
}

OSErr VLH_API PutClass(PIActionList l, DescriptorClassID value) {
    return PutValue(
        "List.PutClass", l, [&](Host& h) { return " class=" + C(h, value); },
        [&](Host&) -> std::optional<Value> { return Value::Class(value); });
}

OSErr VLH_API PutGlobalClass(PIActionList l, DescriptorClassID value) {
    return PutValue(
        "List.PutGlobalClass", l, [&](Host& h) { return " class=" + C(h, value); },
        [&](Host&) -> std::optional<Value> { return Value::GlobalClass(value); });
}

OSErr VLH_API PutAlias(PIActionList, Handle) {
    return Run<OSErr>("List.PutAlias", NoDetail(), [](Host&) { return kUnimplemented16; });
}

OSErr VLH_API GetInteger(PIActionList l, uint32_t index, int32_t* value) {
    constexpr const char* kRoutine = "List.GetInteger";
    return GetValue(kRoutine, l, index, type::kInteger, type::kInteger,
                    [&](Host& h, const Value& v) { return CopyInteger(h, kRoutine, v, value); });
}

OSErr VLH_API GetFloat(PIActionList l, uint32_t index, double* value) {
    constexpr const char* kRoutine = "List.GetFloat";
    return GetValue(kRoutine, l, index, type::kFloat, type::kFloat,
                    [&](Host& h, const Value& v) { return CopyFloat(h, kRoutine, v, value); });
}

OSErr VLH_API GetUnitFloat(PIActionList l, uint32_t index, DescriptorUnitID* unit, double* value) {
    constexpr const char* kRoutine = "List.GetUnitFloat";
    return GetValue(kRoutine, l, index, type::kUnitFloat, type::kUnitFloat,
                    [&](Host& h, const Value& v) { return CopyUnitFloat(h, kRoutine, v, unit, value); });
}

OSErr VLH_API GetStringLength(PIActionList l, uint32_t index, uint32_t* length) {
    constexpr const char* kRoutine = "List.GetStringLength";
    return GetValue(kRoutine, l, index, type::kText, type::kText,
                    [&](Host& h, const Value& v) { return CopyStringLength(h, kRoutine, v, length); });
}

OSErr VLH_API GetString(PIActionList l, uint32_t index, char* text, uint32_t maxLength) {
    constexpr const char* kRoutine = "List.GetString";
    return GetValue(kRoutine, l, index, type::kText, type::kText,
                    [&](Host& h, const Value& v) { return CopyString(h, kRoutine, v, text, maxLength); });
}

OSErr VLH_API GetBoolean(PIActionList l, uint32_t index, Boolean* value) {
    constexpr const char* kRoutine = "List.GetBoolean";
    return GetValue(kRoutine, l, index, type::kBoolean, type::kBoolean,
                    [&](Host& h, const Value& v) { return CopyBoolean(h, kRoutine, v, value); });
}

OSErr VLH_API GetList(PIActionList l, uint32_t index, PIActionList* value) {
    constexpr const char* kRoutine = "List.GetList";
    return GetValue(kRoutine, l, index, type::kList, type::kList,
                    [&](Host& h, const Value& v) { return CopyList(h, kRoutine, v, value); });
}

OSErr GetObjectOf(const char* routine, uint32_t objectType, PIActionList l, uint32_t index,
                  DescriptorClassID* type, PIActionDescriptor* value) {
    return GetValue(routine, l, index, objectType, objectType,
                    [&](Host& h, const Value& v) { return CopyObject(h, routine, v, type, value); });
}

OSErr VLH_API GetObject(PIActionList l, uint32_t index, DescriptorClassID* type, PIActionDescriptor* value) {
    return GetObjectOf("List.GetObject", type::kObject, l, index, type, value);
}

OSErr VLH_API GetGlobalObject(PIActionList l, uint32_t index, DescriptorClassID* type,
                              PIActionDescriptor* value) {
    return GetObjectOf("List.GetGlobalObject", type::kGlobalObject, l, index, type, value);
}

OSErr VLH_API GetEnumerated(PIActionList l, uint32_t index, DescriptorEnumTypeID* type,
                            DescriptorEnumID* value) {
    constexpr const char* kRoutine = "List.GetEnumerated";
    return GetValue(kRoutine, l, index, type::kEnumerated, type::kEnumerated,
                    [&](Host& h, const Value& v) { return CopyEnumerated(h, kRoutine, v, type, value); });
}

OSErr VLH_API GetReference(PIActionList l, uint32_t index, PIActionReference* value) {
    constexpr const char* kRoutine = "List.GetReference";
    return GetValue(kRoutine, l, index, type::kReference, type::kReference,
                    [&](Host& h, const Value& v) { return CopyReference(h, kRoutine, v, value); });
}

OSErr GetClassOf(const char* routine, uint32_t classType, PIActionList l, uint32_t index,
                 DescriptorClassID* value) {
    return GetValue(routine, l, index, classType, classType,
                    [&](Host& h, const Value& v) { return CopyClass(h, routine, v, value); });
}

OSErr VLH_API GetClass(PIActionList l, uint32_t index, DescriptorClassID* value) {
    return GetClassOf("List.GetClass", type::kClass, l, index, value);
}

OSErr VLH_API GetGlobalClass(PIActionList l, uint32_t index, DescriptorClassID* value) {
    return GetClassOf("List.GetGlobalClass", type::kGlobalClass, l, index, value);
}

OSErr VLH_API GetAlias(PIActionList, uint32_t, Handle*) {
    return Run<OSErr>("List.GetAlias", NoDetail(), [](Host&) { return kUnimplemented16; });
}

OSErr VLH_API PutIntegers(PIActionList l, uint32_t count, int32_t* values) {
    return WithList(
        "List.PutIntegers", l, [&](Host&) { return " count=" + std::to_string(count); },
        [&](Host&, List& list) -> OSErr {
            if ((values == nullptr && count != 0) || count > kMaxText) {
                return paramErr;
            }
            for (uint32_t i = 0; i < count; ++i) {
                list.Append(Value::Integer(values[i]));
            }
            return noErr;
        });
}

OSErr VLH_API GetIntegers(PIActionList l, uint32_t count, int32_t* values) {
    constexpr const char* kRoutine = "List.GetIntegers";
    return WithList(
        kRoutine, l, [&](Host&) { return " count=" + std::to_string(count); },
        [&](Host& h, List& list) -> OSErr {
            if ((count != 0 && NullOut(h, kRoutine, values)) || count > list.Count()) {
                return paramErr;
            }
            for (uint32_t i = 0; i < count; ++i) {
                if (list.At(i).Type() != type::kInteger) {
                    return kWrongTypeErr;
                }
                values[i] = list.At(i).Integer();
            }
            return noErr;
        });
}

OSErr VLH_API PutData(PIActionList l, int32_t length, void* bytes) {
    return PutValue(
        "List.PutData", l, [&](Host&) { return " length=" + std::to_string(length); },
        [&](Host&) -> std::optional<Value> {
            if (length < 0 || size_t(length) > kMaxText || (bytes == nullptr && length != 0)) {
                return std::nullopt;
            }
            return Value::Data(std::string(static_cast<const char*>(bytes), size_t(length)));
        });
}

OSErr VLH_API GetDataLength(PIActionList l, uint32_t index, int32_t* length) {
    constexpr const char* kRoutine = "List.GetDataLength";
    return GetValue(kRoutine, l, index, type::kData, type::kData,
                    [&](Host& h, const Value& v) { return CopyDataLength(h, kRoutine, v, length); });
}

OSErr VLH_API GetData(PIActionList l, uint32_t index, void* bytes) {
    constexpr const char* kRoutine = "List.GetData";
    return GetValue(kRoutine, l, index, type::kData, type::kData,
                    [&](Host& h, const Value& v) { return CopyData(h, kRoutine, v, bytes); });
}

OSErr VLH_API PutZString(PIActionList l, ASZString zstring) {
    constexpr const char* kRoutine = "List.PutZString";
    return PutValue(
        kRoutine, l, [&](Host& h) { return " " + H(h, zstring); },
        [&](Host& h) -> std::optional<Value> {
            const HostString* s = h.Books().FindString(zstring, kRoutine);
            return s ? std::optional<Value>(Value::String(s->text)) : std::nullopt;
        });
}

OSErr VLH_API GetZString(PIActionList l, uint32_t index, ASZString* zstring) {
    constexpr const char* kRoutine = "List.GetZString";
    return GetValue(kRoutine, l, index, type::kText, type::kText,
                    [&](Host& h, const Value& v) { return CopyZString(h, kRoutine, v, zstring); });
}

const PSActionListProcs kListSuite = {
    Make,      Free,           GetType,    GetCount,    PutInteger,      PutFloat,      PutUnitFloat,
    PutString, PutBoolean,     PutList,    PutObject,   PutGlobalObject, PutEnumerated, PutReference,
    PutClass,  PutGlobalClass, PutAlias,   GetInteger,  GetFloat,        GetUnitFloat,  GetStringLength,
    GetString, GetBoolean,     GetList,    GetObject,   GetGlobalObject, GetEnumerated, GetReference,
    GetClass,  GetGlobalClass, GetAlias,   PutIntegers, GetIntegers,     PutData,       GetDataLength,
    GetData,   PutZString,     GetZString,
};

} // namespace

const PSActionListProcs& ListSuiteTable() {
    return kListSuite;
}

} // namespace vhost::suites
