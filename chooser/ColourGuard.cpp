#include "chooser/ColourGuard.h"

#include "actionsets/Playback.h"
#include "hostapi/FourCharCode.h"
#include "hostapi/HostObjects.h"
#include "hostapi/HostSuites.h"
#include "hostapi/PropertyAccess.h"

#include <cstring>

namespace vlh {

namespace {

constexpr char kCustom[] = "Custom";
constexpr const char* kWarningKeys[3] = {"askMismatchOpening", "askMismatchPasting", "askMissing"};

// A string ID's type ID, asked of the host at every use; false when it fails.
bool TypeIDOf(const char* stringID, DescriptorTypeID& id) {
    return gHost.control->StringIDToTypeID(stringID, &id) == noErr;
}

void PlaySilently(DescriptorEventID event, PIActionDescriptor descriptor) {
    HostDescriptor result;
    gHost.control->Play(result.out(), event, descriptor, plugInDialogSilent);
}

// The application's colour-settings object, or none.
HostDescriptor ReadColourSettings() {
    DescriptorTypeID colorSettings = 0;
    if (!TypeIDOf("colorSettings", colorSettings)) {
        return {};
    }
    PIActionDescriptor object = nullptr;
    DescriptorClassID objectClass = 0;
    GetTargetProperty(FourCC("capp"), colorSettings, &object, &objectClass, FourCC("Objc"));
    return HostDescriptor(object);
}

// Plays "set" on the application's colour settings with the value object that
// fill() puts its keys into. The objects are freed in the order: result,
// event descriptor, reference, value object.
template <typename Fill>
void SetColourSettings(Fill fill) {
    HostDescriptor value;
    HostReference target;
    HostDescriptor event;
    const PSActionDescriptorProcs& d = *gHost.descriptor;
    DescriptorTypeID colorSettings = 0;
    if (d.Make(event.out()) != noErr || gHost.reference->Make(target.out()) != noErr ||
        !TypeIDOf("colorSettings", colorSettings) ||
        gHost.reference->PutProperty(target.get(), FourCC("Prpr"), colorSettings) != noErr ||
        gHost.reference->PutEnumerated(target.get(), FourCC("capp"), FourCC("Ordn"), FourCC("Trgt")) != noErr ||
        d.PutReference(event.get(), FourCC("null"), target.get()) != noErr || d.Make(value.out()) != noErr ||
        !fill(value.get()) || !TypeIDOf("colorSettings", colorSettings) ||
        d.PutObject(event.get(), FourCC("T   "), colorSettings, value.get()) != noErr) {
        return;
    }
    HostDescriptor result;
    gHost.control->Play(result.out(), FourCC("setd"), event.get(), plugInDialogSilent);
    result.reset();
    event.reset();
}

} // namespace

void PurgeClipboard() {
    HostDescriptor descriptor;
    if (gHost.descriptor->Make(descriptor.out()) != noErr ||
        gHost.descriptor->PutEnumerated(descriptor.get(), FourCC("null"), FourCC("PrgI"), FourCC("Clpb")) !=
            noErr) {
        return;
    }
    PlaySilently(FourCC("Prge"), descriptor.get());
}

void ReadColourSettingsName(char* buffer, uint32_t size) {
    HostDescriptor settings = ReadColourSettings();
    if (!settings) {
        return;
    }
    uint32_t bufferSize = size;
    GetDescriptorValue(settings.get(), FourCC("Nm  "), buffer, &bufferSize, FourCC("TEXT"));
}

void ReadProfileWarnings(bool& opening, bool& pasting, bool& missing) {
    HostDescriptor settings = ReadColourSettings();
    if (!settings) {
        return;
    }
    bool* const targets[3] = {&opening, &pasting, &missing};
    for (int i = 0; i < 3; ++i) {
        DescriptorTypeID key = 0;
        Boolean value = *targets[i] ? 1 : 0;
        if (!TypeIDOf(kWarningKeys[i], key) ||
            GetDescriptorValue(settings.get(), key, &value, nullptr, FourCC("bool")) != 0) {
            return;
        }
        *targets[i] = value != 0;
    }
}

void WriteProfileWarnings(bool opening, bool pasting, bool missing) {
    const bool values[3] = {opening, pasting, missing};
    SetColourSettings([&values](PIActionDescriptor object) {
        for (int i = 0; i < 3; ++i) {
            DescriptorTypeID key = 0;
            if (!TypeIDOf(kWarningKeys[i], key) ||
                gHost.descriptor->PutBoolean(object, key, values[i] ? 1 : 0) != noErr) {
                return false;
            }
        }
        return true;
    });
}

void SelectColourSettings(const char* name) {
    SetColourSettings([name](PIActionDescriptor object) {
        return gHost.descriptor->PutString(object, FourCC("Nm  "), name) == noErr;
    });
}

OSErr PlayEffectWithColourGuard(const Effect& effect) {
    char savedName[256] = {};
    std::memcpy(savedName, kCustom, sizeof kCustom);
    bool opening = false;
    bool pasting = false;
    bool missing = false;

    PurgeClipboard();
    ReadColourSettingsName(savedName, sizeof savedName);
    const bool custom = std::strcmp(savedName, kCustom) == 0;
    if (custom) {
        ReadProfileWarnings(opening, pasting, missing);
    }
    const bool anyWarning = opening || pasting || missing;
    // Custom settings whose warnings are already off are left alone.
    if (!custom || anyWarning) {
        WriteProfileWarnings(false, false, false);
    }

    const OSErr status = PlayEffect(effect);

    if (!custom) {
        SelectColourSettings(savedName);
    } else if (anyWarning) {
        WriteProfileWarnings(opening, pasting, missing);
    }
    return status;
}

} // namespace vlh
