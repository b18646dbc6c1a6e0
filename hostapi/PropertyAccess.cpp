#include "hostapi/PropertyAccess.h"

#include "hostapi/HostObjects.h"
#include "hostapi/HostSuites.h"

namespace vlh {

namespace {

int32_t ReadText(PIActionDescriptor descriptor, DescriptorKeyID key, char* buffer, uint32_t* sizeInOut) {
    if (sizeInOut == nullptr) {
        return kStatusBadParameter;
    }
    const uint32_t bufferSize = *sizeInOut;
    uint32_t length = 0;
    if (OSErr err = gHost.descriptor->GetStringLength(descriptor, key, &length); err != noErr) {
        return err;
    }
    *sizeInOut = length;
    if (uint64_t(length) + 1 > bufferSize) {
        return kStatusBadParameter;
    }
    return gHost.descriptor->GetString(descriptor, key, buffer, bufferSize);
}

int32_t ReadByType(PIActionDescriptor d, DescriptorKeyID key, DescriptorTypeID type, void* value, void* extra) {
    const PSActionDescriptorProcs& s = *gHost.descriptor;
    switch (type) {
    case FourCC("long"):
        return s.GetInteger(d, key, static_cast<int32_t*>(value));
    case FourCC("doub"):
        return s.GetFloat(d, key, static_cast<double*>(value));
    case FourCC("bool"):
        return s.GetBoolean(d, key, static_cast<Boolean*>(value));
    case FourCC("UntF"):
        if (extra == nullptr) {
            return kStatusBadParameter;
        }
        return s.GetUnitFloat(d, key, static_cast<DescriptorUnitID*>(extra), static_cast<double*>(value));
    case FourCC("enum"):
        if (extra == nullptr) {
            return kStatusBadParameter;
        }
        return s.GetEnumerated(d, key, static_cast<DescriptorEnumTypeID*>(extra),
                               static_cast<DescriptorEnumID*>(value));
    case FourCC("TEXT"):
        return ReadText(d, key, static_cast<char*>(value), static_cast<uint32_t*>(extra));
    case FourCC("Objc"):
        if (extra == nullptr) {
            return kStatusBadParameter;
        }
        return s.GetObject(d, key, static_cast<DescriptorClassID*>(extra), static_cast<PIActionDescriptor*>(value));
    case FourCC("GlbO"):
        if (extra == nullptr) {
            return kStatusBadParameter;
        }
        return s.GetGlobalObject(d, key, static_cast<DescriptorClassID*>(extra),
                                 static_cast<PIActionDescriptor*>(value));
    case FourCC("obj "):
        return s.GetReference(d, key, static_cast<PIActionReference*>(value));
    case FourCC("VlLs"):
        return s.GetList(d, key, static_cast<PIActionList*>(value));
    case FourCC("type"):
        return s.GetClass(d, key, static_cast<DescriptorClassID*>(value));
    case FourCC("GlbC"):
        return s.GetGlobalClass(d, key, static_cast<DescriptorClassID*>(value));
    case FourCC("alis"):
    case FourCC("Pth "):
        return s.GetAlias(d, key, static_cast<Handle*>(value));
    default:
        return kStatusUnimplemented;
    }
}

} // namespace

int32_t GetDescriptorValue(PIActionDescriptor descriptor, DescriptorKeyID key, void* value, void* extra,
                           DescriptorTypeID expected) {
    if (value == nullptr) {
        return kStatusBadParameter;
    }
    Boolean hasKey = 0;
    if (OSErr err = gHost.descriptor->HasKey(descriptor, key, &hasKey); err != noErr) {
        return err;
    }
    if (hasKey == 0) {
        return 0; // the caller's default stands
    }
    DescriptorTypeID type = 0;
    if (OSErr err = gHost.descriptor->GetType(descriptor, key, &type); err != noErr) {
        return err;
    }
    if (expected != 0 && type != expected) {
        return kStatusBadParameter;
    }
    return ReadByType(descriptor, key, type, value, extra);
}

int32_t GetTargetProperty(DescriptorClassID classId, DescriptorKeyID key, void* value, void* extra,
                          DescriptorTypeID expected) {
    if (value == nullptr) {
        return kStatusBadParameter;
    }
    HostReference reference;
    if (OSErr err = gHost.reference->Make(reference.out()); err != noErr) {
        return err;
    }
    if (key != 0) {
        if (OSErr err = gHost.reference->PutProperty(reference.get(), FourCC("Prpr"), key); err != noErr) {
            return err;
        }
    }
    if (OSErr err = gHost.reference->PutEnumerated(reference.get(), classId, FourCC("Ordn"), FourCC("Trgt"));
        err != noErr) {
        return err;
    }
    HostDescriptor result;
    if (OSErr err = gHost.control->Get(result.out(), reference.get()); err != noErr) {
        return err;
    }
    int32_t status = 0;
    if (key == 0) {
        *static_cast<PIActionDescriptor*>(value) = result.release();
    } else {
        status = GetDescriptorValue(result.get(), key, value, extra, expected);
    }
    reference.reset(); // the reference goes back first, then the result
    return status;
}

} // namespace vlh
