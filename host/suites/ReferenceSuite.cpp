// The action reference suite over vhost::Reference. Forms are kept in call
// order; the first is the one GetForm, GetDesiredClass and the Get* routines
// read, and GetContainer hands out the rest as a new reference (no container:
// errReferenceNotFound and a null reference). GetName copies at most
// maxLength - 1 bytes and a NUL.
#include <algorithm>
#include <cstring>

#include "host/suites/SuiteSupport.h"

namespace vhost::suites {

namespace {

template <typename Detail, typename Body>
OSErr WithReference(const char* routine, PIActionReference r, Detail detail, Body body) {
    return Run<OSErr>(
        routine, [&](Host& h) { return H(h, r) + detail(h); },
        [&](Host& h) -> OSErr {
            Reference* ref = h.Books().FindReference(r, routine);
            if (ref == nullptr) {
                return paramErr;
            }
            return body(h, *ref);
        });
}

// Appends the form make() builds; make answers std::nullopt for a bad argument.
template <typename Detail, typename MakeForm>
OSErr Append(const char* routine, PIActionReference r, DescriptorClassID desiredClass, Detail detail,
             MakeForm make) {
    return WithReference(
        routine, r, [&](Host& h) { return " class=" + C(h, desiredClass) + detail(h); },
        [&](Host&, Reference& ref) -> OSErr {
            std::optional<ReferenceForm> f = make();
            if (!f) {
                return paramErr;
            }
            f->desiredClass = desiredClass;
            ref.Append(std::move(*f));
            return noErr;
        });
}

// Reads the first form if it has the wanted form code (0: any).
template <typename Body>
OSErr ReadFirst(const char* routine, PIActionReference r, uint32_t wanted, Body body) {
    return WithReference(
        routine, r, [](Host&) { return std::string(); },
        [&](Host& h, Reference& ref) -> OSErr {
            if (ref.Count() == 0) {
                return kReferenceNotFound;
            }
            const ReferenceForm& f = ref.Forms().front();
            if (wanted != 0 && f.form != wanted) {
                return paramErr;
            }
            return body(h, f);
        });
}

OSErr VLH_API Make(PIActionReference* reference) {
    constexpr const char* kRoutine = "Reference.Make";
    return Run<OSErr>(kRoutine, NoDetail(), [&](Host& h) -> OSErr {
        if (NullOut(h, kRoutine, reference)) {
            return paramErr;
        }
        *reference =
            static_cast<PIActionReference>(h.Books().Register(std::make_unique<Reference>(), kRoutine));
        return noErr;
    });
}

OSErr VLH_API Free(PIActionReference reference) {
    constexpr const char* kRoutine = "Reference.Free";
    return Run<OSErr>(
        kRoutine, [&](Host& h) { return H(h, reference); },
        [&](Host& h) -> OSErr {
            return h.Books().Free(reference, ObjectKind::Reference, kRoutine) ? noErr : paramErr;
        });
}

OSErr VLH_API GetForm(PIActionReference r, DescriptorFormID* value) {
    constexpr const char* kRoutine = "Reference.GetForm";
    return ReadFirst(kRoutine, r, 0, [&](Host& h, const ReferenceForm& f) -> OSErr {
        if (NullOut(h, kRoutine, value)) {
            return paramErr;
        }
        *value = f.form;
        return noErr;
    });
}

OSErr VLH_API GetDesiredClass(PIActionReference r, DescriptorClassID* value) {
    constexpr const char* kRoutine = "Reference.GetDesiredClass";
    return ReadFirst(kRoutine, r, 0, [&](Host& h, const ReferenceForm& f) -> OSErr {
        if (NullOut(h, kRoutine, value)) {
            return paramErr;
        }
        *value = f.desiredClass;
        return noErr;
    });
}

OSErr VLH_API PutName(PIActionReference r, DescriptorClassID desiredClass, const char* name) {
    return Append(
        "Reference.PutName", r, desiredClass, [&](Host&) { return " " + S(name); },
        [&]() -> std::optional<ReferenceForm> {
            if (name == nullptr) {
                return std::nullopt;
            }
            return ReferenceForm::Name(0, std::string(name, BoundedLength(name, kMaxText)));
        });
}

OSErr VLH_API PutIndex(PIActionReference r, DescriptorClassID desiredClass, uint32_t value) {
    return Append(
        "Reference.PutIndex", r, desiredClass, [&](Host&) { return " index=" + std::to_string(value); },
        [&]() -> std::optional<ReferenceForm> { return ReferenceForm::Index(0, value); });
}

OSErr VLH_API PutIdentifier(PIActionReference r, DescriptorClassID desiredClass, uint32_t value) {
    return Append(
        "Reference.PutIdentifier", r, desiredClass, [&](Host&) { return " id=" + std::to_string(value); },
        [&]() -> std::optional<ReferenceForm> { return ReferenceForm::Identifier(0, value); });
}

OSErr VLH_API PutOffset(PIActionReference r, DescriptorClassID desiredClass, int32_t value) {
    return Append(
        "Reference.PutOffset", r, desiredClass, [&](Host&) { return " offset=" + std::to_string(value); },
        [&]() -> std::optional<ReferenceForm> { return ReferenceForm::Offset(0, value); });
}

OSErr VLH_API PutEnumerated(PIActionReference r, DescriptorClassID desiredClass, DescriptorEnumTypeID type,
                            DescriptorEnumID value) {
    return Append(
        "Reference.PutEnumerated", r, desiredClass,
        [&](Host& h) { return " type=" + C(h, type) + " value=" + C(h, value); },
        [&]() -> std::optional<ReferenceForm> { return ReferenceForm::Enumerated(0, type, value); });
}

OSErr VLH_API PutProperty(PIActionReference r, DescriptorClassID desiredClass, DescriptorKeyID value) {
    return Append(
        "Reference.PutProperty", r, desiredClass, [&](Host& h) { return " key=" + C(h, value); },
        [&]() -> std::optional<ReferenceForm> { return ReferenceForm::Property(0, value); });
}

OSErr VLH_API PutClass(PIActionReference r, DescriptorClassID desiredClass) {
    return Append(
        "Reference.PutClass", r, desiredClass, [](Host&) { return std::string(); },
        []() -> std::optional<ReferenceForm> { return ReferenceForm::Class(0); });
}

OSErr VLH_API GetNameLength(PIActionReference r, uint32_t* length) {
    constexpr const char* kRoutine = "Reference.GetNameLength";
    return ReadFirst(kRoutine, r, form::kName, [&](Host& h, const ReferenceForm& f) -> OSErr {
        if (NullOut(h, kRoutine, length)) {
            return paramErr;
        }
        *length = static_cast<uint32_t>(f.name.size());
        return noErr;
    });
}

OSErr VLH_API GetName(PIActionReference r, char* name, uint32_t maxLength) {
    constexpr const char* kRoutine = "Reference.GetName";
    return ReadFirst(kRoutine, r, form::kName, [&](Host& h, const ReferenceForm& f) -> OSErr {
        if (NullOut(h, kRoutine, name) || maxLength == 0) {
            return paramErr;
        }
        const size_t n = std::min<size_t>(f.name.size(), maxLength - 1);
        std::memcpy(name, f.name.data(), n);
        name[n] = '\0';
        return noErr;
    });
}

OSErr GetNumber(const char* routine, uint32_t wanted, PIActionReference r, uint32_t* value) {
    return ReadFirst(routine, r, wanted, [&](Host& h, const ReferenceForm& f) -> OSErr {
        if (NullOut(h, routine, value)) {
            return paramErr;
        }
        *value = f.number;
        return noErr;
    });
}

OSErr VLH_API GetIndex(PIActionReference r, uint32_t* value) {
    return GetNumber("Reference.GetIndex", form::kIndex, r, value);
}

OSErr VLH_API GetIdentifier(PIActionReference r, uint32_t* value) {
    return GetNumber("Reference.GetIdentifier", form::kIdentifier, r, value);
}

OSErr VLH_API GetOffset(PIActionReference r, int32_t* value) {
    constexpr const char* kRoutine = "Reference.GetOffset";
    return ReadFirst(kRoutine, r, form::kOffset, [&](Host& h, const ReferenceForm& f) -> OSErr {
        if (NullOut(h, kRoutine, value)) {
            return paramErr;
        }
        *value = f.offset;
        return noErr;
    });
}

OSErr VLH_API GetEnumerated(PIActionReference r, DescriptorEnumTypeID* type, DescriptorEnumID* value) {
    constexpr const char* kRoutine = "Reference.GetEnumerated";
    return ReadFirst(kRoutine, r, form::kEnumerated, [&](Host& h, const ReferenceForm& f) -> OSErr {
        if (NullOut(h, kRoutine, value)) {
            return paramErr;
        }
        if (type != nullptr) {
            *type = f.code;
        }
        *value = f.code2;
        return noErr;
    });
}

OSErr VLH_API GetProperty(PIActionReference r, DescriptorKeyID* value) {
    constexpr const char* kRoutine = "Reference.GetProperty";
    return ReadFirst(kRoutine, r, form::kProperty, [&](Host& h, const ReferenceForm& f) -> OSErr {
        if (NullOut(h, kRoutine, value)) {
            return paramErr;
        }
        *value = f.code;
        return noErr;
    });
}

OSErr VLH_API GetContainer(PIActionReference r, PIActionReference* value) {
    constexpr const char* kRoutine = "Reference.GetContainer";
    return WithReference(
        kRoutine, r, [](Host&) { return std::string(); },
        [&](Host& h, Reference& ref) -> OSErr {
            if (NullOut(h, kRoutine, value)) {
                return paramErr;
            }
            *value = nullptr;
            if (ref.Count() < 2) {
                return kReferenceNotFound;
            }
            *value = static_cast<PIActionReference>(
                h.Books().Register(std::make_unique<Reference>(ref.Container()), kRoutine));
            return noErr;
        });
}

const PSActionReferenceProcs kReferenceSuite = {
    Make,          Free,          GetForm,       GetDesiredClass, PutName,       PutIndex, PutIdentifier,
    PutOffset,     PutEnumerated, PutProperty,   PutClass,        GetNameLength, GetName,  GetIndex,
    GetIdentifier, GetOffset,     GetEnumerated, GetProperty,     GetContainer,
};

} // namespace

const PSActionReferenceProcs& ReferenceSuiteTable() {
    return kReferenceSuite;
}

} // namespace vhost::suites
