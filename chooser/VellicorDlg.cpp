#include "chooser/VellicorDlg.h"

namespace vlh {

// Until the toolkit is hosted there is no dialog to show: a run that needs
// one ends as not confirmed.
bool ShowSetEffectDialog(RunContext& /*run*/) { return true; }

} // namespace vlh
