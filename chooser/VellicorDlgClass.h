// The window behind ShowSetEffectDialog: a Set choice, an Effect choice, the
// image-size readout of the Output plug-in, and OK, Cancel, Help and Info.
// Its controls are child windows owned by the dialog; the run context belongs
// to the run driver.
#pragma once

#include "actionsets/RunContext.h"

#include <wx/dialog.h>

class wxChoice;
class wxStaticText;

namespace vlh {

// Identifiers of the dialog and its controls.
constexpr wxWindowID kVellicorDlgId = 10000;
constexpr wxWindowID kSetChoiceId = 10001;
constexpr wxWindowID kEffectChoiceId = 10002;
constexpr wxWindowID kInfoButtonId = 10006;
constexpr wxWindowID kSizeReadoutId = 10028;
constexpr wxWindowID kNoteTextId = 10029;
constexpr wxWindowID kSizeCaptionId = 10030;
constexpr wxWindowID kSetLabelId = 10031;
constexpr wxWindowID kEffectLabelId = 10032;
constexpr wxWindowID kHelpButtonId = 10033;

class VellicorDlg : public wxDialog {
    wxDECLARE_DYNAMIC_CLASS(VellicorDlg);
    wxDECLARE_EVENT_TABLE();

public:
    VellicorDlg() = default;

    // The run the dialog prepares; set before Create.
    void SetRunContext(RunContext* run) { runContext_ = run; }

    // Builds the window and its controls, fits it to its sizer and centres
    // it. Always true.
    bool Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                const wxSize& size, long style);

    void CreateControls();

    // The Sets of the run, preselecting the run's Set name (letter case
    // ignored; else the first), then that Set's Effects.
    void FillSetChoice();
    // The Effects of set, preselecting the run's Effect name (letter case
    // ignored; else the first). A null or empty Set leaves the choice empty.
    void FillEffectChoice(const ActionSet* set);

    // For the Output plug-in shows the active document's size in the host's
    // ruler units; for the others hides the readout and its note.
    void UpdateSizeReadout();

private:
    void OnSetSelected(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnHelp(wxCommandEvent& event);
    void OnInfo(wxCommandEvent& event);

    wxStaticText* noteText_ = nullptr;
    wxStaticText* sizeCaption_ = nullptr;
    wxStaticText* sizeReadout_ = nullptr;
    wxStaticText* setLabel_ = nullptr;
    wxChoice* setChoice_ = nullptr;
    wxStaticText* effectLabel_ = nullptr;
    wxChoice* effectChoice_ = nullptr;
    RunContext* runContext_ = nullptr;
};

} // namespace vlh
