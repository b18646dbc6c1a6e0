// What a dialog of the module shows, read from inside the process: through
// wxWidgets (the module's toolkit is the process's toolkit) for its controls,
// and through the X server for what the window manager would see.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/dialogs/XSession.h"

class wxDialog;
class wxWindow;

namespace vlh::dialogs {

struct ChoiceView {
    std::vector<std::string> entries; // 8-bit texts, as the module's names
    int selection = -1;
};

struct DialogView {
    std::string className; // the registered class, "VellicorDlg" or "AboutDlg"
    int id = 0;
    std::string title;
    int clientWidth = 0;
    int clientHeight = 0;
    std::map<int, std::string> labels; // every child's label by id (mnemonics kept)
    std::map<int, bool> shown;         // every child's visibility by id
    std::map<int, int> top;            // every child's top edge in the dialog's client area
    ChoiceView sets;                   // id 10001
    ChoiceView effects;                // id 10002
    std::string readout;               // id 10028
    int focus = 0;                     // id of the control with the keyboard, 0 for none
    int bitmapWidth = 0;               // the about box's logo button picture
    int bitmapHeight = 0;

    // As the X server has it.
    unsigned long xWindow = 0;
    std::string xTitle;
    unsigned long transientFor = 0;
    MotifHints hints;
    bool modal = false; // _NET_WM_STATE_MODAL
    WindowGeometry geometry;

    bool Shown(int control) const {
        auto it = shown.find(control);
        return it != shown.end() && it->second;
    }
    std::string Label(int control) const {
        auto it = labels.find(control);
        return it != labels.end() ? it->second : std::string("(no control)");
    }
};

// The module's modal dialog that is up now, or nullptr.
wxDialog* ShownDialog();

// The X window of a top-level window (0 before it is realized).
unsigned long XWindowOf(wxWindow& window);

// True when the window has the keyboard.
bool HasKeyboard(wxWindow& window);

// Reads everything above.
DialogView Describe(wxDialog& dialog, XSession& x);

// The centre of a child control on the screen.
std::optional<std::pair<int, int>> ControlCentre(wxDialog& dialog, int id);

} // namespace vlh::dialogs
