// Whether windows can be shown at all: the toolkit cannot start without a
// display, and trying costs more than asking first.
#pragma once

namespace vlh {

// True when the host's GTK already has a display, or one can be opened from
// the environment ($DISPLAY). Changes nothing.
bool DisplayAvailable();

} // namespace vlh
