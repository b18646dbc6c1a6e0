#include "actionsets/Playback.h"

#include "hostapi/HostSuites.h"

namespace vlh {

void PlayEvent(HostObjectList& list, const ActionEvent& event) {
    if (!event.enabled) {
        return;
    }
    PIActionDescriptor descriptor = nullptr;
    if (event.descriptor != nullptr) {
        descriptor = MakeHostDescriptor(list, *event.descriptor);
    }
    // Event names always go through the host, whatever their length.
    DescriptorEventID eventID = 0;
    if (const OSErr code = gHost.control->StringIDToTypeID(event.eventName.c_str(), &eventID);
        code != noErr) {
        throw HostError(code);
    }
    PIActionDescriptor result = nullptr;
    const OSErr code = gHost.control->Play(&result, eventID, descriptor,
                                           event.withDialog ? plugInDialogDisplay : plugInDialogDontDisplay);
    // A result is the module's to free, also one handed back with a failure.
    HostDescriptor resultOwner(result);
    if (code != noErr) {
        throw HostError(code);
    }
}

OSErr PlayEffect(const Effect& effect) noexcept {
    OSErr result = noErr;
    try {
        HostObjectList list;
        const size_t count = effect.events.size();
        try {
            for (size_t i = 0; i < count; ++i) {
                PlayEvent(list, *effect.events[i]);
            }
        } catch (const HostError& error) {
            result = error.code();
        }
    } catch (...) {
        // Besides HostError only running out of memory can get here.
        result = memFullErr;
    }
    return result;
}

} // namespace vlh
