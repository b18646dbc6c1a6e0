// The guard around the playing of an Effect: the clipboard is purged, the
// three colour-profile warnings of the host's colour settings are switched off
// so that no host dialog interrupts the recipe, and the settings are put back
// afterwards, whatever the playback's result.
#pragma once

#include "actionsets/ActionSet.h"
#include "hostapi/HostInterface.h"

#include <cstdint>

namespace vlh {

// Plays the Effect inside the guard. Returns PlayEffect's status unchanged;
// no failure of the guard itself is reported or stops the playback.
OSErr PlayEffectWithColourGuard(const Effect& effect);

// Each of these stops at its first failing host call, frees what it made and
// reports nothing. Every event is played silently (no host dialogs).
void PurgeClipboard();
// Leaves buffer as it was when the name cannot be read or does not fit.
void ReadColourSettingsName(char* buffer, uint32_t size);
// Variables after a failed read keep their values.
void ReadProfileWarnings(bool& opening, bool& pasting, bool& missing);
void WriteProfileWarnings(bool opening, bool pasting, bool missing);
// Selects the named colour settings again as a whole.
void SelectColourSettings(const char* name);

} // namespace vlh
