#include "plugin/RunDriver.h"

#include "about/StoredParameters.h"
#include "actionsets/RunContext.h"
#include "catalogue/Catalogue.h"
#include "chooser/ColourGuard.h"
#include "chooser/HelpLinks.h"
#include "chooser/VellicorDlg.h"
#include "hostapi/FourCharCode.h"
#include "hostapi/HostObjects.h"
#include "hostapi/HostSuites.h"

#include <cstring>
#include <new>

namespace vlh {

namespace {

constexpr DescriptorKeyID kSetKey = FourCC("VlSt");
constexpr DescriptorKeyID kEffectKey = FourCC("VlAc");
constexpr SPErr kNotConfirmed = 1;
constexpr char kHelpSet[] = "**Help**";

// Reads one scripting parameter. A host may count the terminator in the
// maximum or not; the read goes into a buffer with room for either and is
// then copied into the field within its bounds.
OSErr ReadParameter(PIActionDescriptor descriptor, DescriptorKeyID key, char (&field)[kNameFieldSize]) {
    char buffer[kNameFieldSize + 1] = {};
    if (OSErr err = gHost.descriptor->GetString(descriptor, key, buffer, kNameFieldSize); err != noErr) {
        return err;
    }
    CopyToNameField(field, std::string_view(buffer, strnlen(buffer, kNameFieldSize)));
    return noErr;
}

// The host's history procedure. Nothing may unwind through the host's frames,
// so every exception ends here as a code.
SPErr VLH_API PlayChosenEffect(void* data) {
    try {
        return PlayEffectWithColourGuard(*static_cast<const Effect*>(data));
    } catch (const std::bad_alloc&) {
        return memFullErr;
    } catch (...) {
        return paramErr;
    }
}

// Plays the chosen Effect on the current document as one history state named
// after the Effect.
SPErr PlayAsOneHistoryState(const RunContext& run) {
    HostReference document;
    if (OSErr err = gHost.reference->Make(document.out()); err != noErr) {
        return err;
    }
    if (OSErr err = gHost.reference->PutEnumerated(document.get(), FourCC("Dcmn"), FourCC("Ordn"), FourCC("Trgt"));
        err != noErr) {
        return err;
    }
    HostString historyName;
    if (ASErr err = gHost.zstring->MakeFromCString(run.effectName, std::strlen(run.effectName), historyName.out());
        err != 0) {
        return err;
    }
    const OSErr played = gHost.control->SuspendHistory(document.get(), PlayChosenEffect, run.chosenEffect,
                                                       historyName.get());
    document.reset();
    return played;
}

// Makes the descriptor that hands the choice back, so that an action being
// recorded replays it. It is made before anything is played: a host that
// cannot make or fill it fails the run while the document is as it was.
SPErr MakeChoiceDescriptor(const RunContext& run, HostDescriptor& choice) {
    if (OSErr err = gHost.descriptor->Make(choice.out()); err != noErr) {
        return err;
    }
    if (OSErr err = gHost.descriptor->PutString(choice.get(), kSetKey, run.setName); err != noErr) {
        return err;
    }
    return gHost.descriptor->PutString(choice.get(), kEffectKey, run.effectName);
}

// Finds the Effect the names point to, unless the dialog already chose it.
bool SettleChosenEffect(RunContext& run) {
    if (run.chosenEffect != nullptr) {
        return true;
    }
    const ActionSet* set = FindSet(run.sets, run.setName);
    run.chosenEffect = set != nullptr ? FindEffect(*set, run.effectName) : nullptr;
    return run.chosenEffect != nullptr;
}

} // namespace

SPErr RunPlugin(const char* pluginName, PIActionParameters* params) {
    RunContext run;
    CopyToNameField(run.pluginName, pluginName != nullptr ? pluginName : "");
    LoadStoredParameters(run);

    if (params->descriptor != nullptr) {
        if (OSErr err = ReadParameter(params->descriptor, kSetKey, run.setName); err != noErr) {
            return err;
        }
        if (OSErr err = ReadParameter(params->descriptor, kEffectKey, run.effectName); err != noErr) {
            return err;
        }
    }
    if (!LoadPluginSets(run)) {
        return errPlugInHostInsufficient;
    }
    if (params->playInfo == plugInDialogDisplay && ShowSetEffectDialog(run)) {
        return kNotConfirmed;
    }

    const bool help = std::strcmp(run.setName, kHelpSet) == 0;
    if (!help && !SettleChosenEffect(run)) {
        return kSPBadParameterError;
    }
    HostDescriptor choice;
    if (SPErr err = MakeChoiceDescriptor(run, choice); err != 0) {
        params->recordInfo = plugInDialogNone;
        return err;
    }
    if (help) {
        OpenHelpManual();
    } else {
        if (SPErr played = PlayAsOneHistoryState(run); played != 0) {
            params->recordInfo = plugInDialogNone;
            return played;
        }
        SaveStoredParameters(run);
    }
    params->descriptor = choice.release();
    params->recordInfo = plugInDialogNone;
    return 0;
}

} // namespace vlh
