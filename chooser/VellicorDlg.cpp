#include "chooser/VellicorDlg.h"

#include "chooser/HelpLinks.h"
#include "chooser/VellicorDlgClass.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <cstring>
#include <string>
#include <string_view>

namespace vlh {

namespace {

constexpr char kHelpSet[] = "**Help**";
constexpr char kHelpEffect[] = "**Index**";

// Names are 8-bit texts: they pass through the toolkit byte for byte, never
// through the locale.
wxString FromNameBytes(std::string_view bytes) {
    return wxString::From8BitData(bytes.data(), bytes.size());
}

std::string ToNameBytes(const wxString& text) {
    const wxCharBuffer bytes = text.To8BitData();
    return std::string(bytes.data(), bytes.length());
}

char FoldLetter(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal when the bytes differ at most in the letter case of A to Z.
bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldLetter(a[i]) != FoldLetter(b[i])) {
            return false;
        }
    }
    return true;
}

// Selects the first entry whose text is name, letter case ignored, else the
// first entry; returns the index selected, or wxNOT_FOUND for an empty choice.
int SelectByName(wxChoice& choice, const char* name) {
    const unsigned count = choice.GetCount();
    if (count == 0) {
        return wxNOT_FOUND;
    }
    int selected = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (SameNameIgnoringCase(ToNameBytes(choice.GetString(i)), name)) {
            selected = static_cast<int>(i);
            break;
        }
    }
    choice.SetSelection(selected);
    return selected;
}

// The selected entry's text, or an empty text when nothing is selected.
std::string SelectedText(const wxChoice& choice) {
    const int selected = choice.GetSelection();
    return selected == wxNOT_FOUND ? std::string()
                                   : ToNameBytes(choice.GetString(static_cast<unsigned>(selected)));
}

} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(VellicorDlg, wxDialog);

// clang-format off
wxBEGIN_EVENT_TABLE(VellicorDlg, wxDialog)
    EVT_CHOICE(kSetChoiceId, VellicorDlg::OnSetSelected)
    EVT_BUTTON(wxID_OK, VellicorDlg::OnOK)
    EVT_BUTTON(kHelpButtonId, VellicorDlg::OnHelp)
    EVT_BUTTON(kInfoButtonId, VellicorDlg::OnInfo)
wxEND_EVENT_TABLE()
    // clang-format on

    bool VellicorDlg::Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                             const wxSize& size, long style) {
    noteText_ = nullptr;
    sizeCaption_ = nullptr;
    sizeReadout_ = nullptr;
    setLabel_ = nullptr;
    setChoice_ = nullptr;
    effectLabel_ = nullptr;
    effectChoice_ = nullptr;

    SetExtraStyle(GetExtraStyle() | wxWS_EX_BLOCK_EVENTS);
    wxDialog::Create(parent, id, caption, pos, size, style, "dialog");
    CreateControls();
    if (GetSizer() != nullptr) {
        GetSizer()->SetSizeHints(this);
    }
    Centre();
    return true;
}

// The controls belong to the dialog and the sizers to the dialog's sizer
// chain: the toolkit deletes them with the window.
void VellicorDlg::CreateControls() {
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    SetSizer(top);

    auto* left = new wxBoxSizer(wxVERTICAL);
    top->Add(left, 0, wxALL, 5);

    noteText_ =
        new wxStaticText(this, kNoteTextId, wxGetTranslation("NOTE: The image must be at final output size!"),
                         wxDefaultPosition, wxDefaultSize, 0);
    left->Add(noteText_, 0, wxALL, 0);

    auto* sizeRow = new wxBoxSizer(wxHORIZONTAL);
    left->Add(sizeRow, 0, wxALL, 0);

    sizeCaption_ = new wxStaticText(this, kSizeCaptionId, wxGetTranslation("Current Size:"),
                                    wxDefaultPosition, wxDefaultSize, 0);
    sizeRow->Add(sizeCaption_, 0, wxALL | wxALIGN_CENTER_VERTICAL, 0);

    // An empty text is not looked up: a catalogue answers "" with its header.
    sizeReadout_ = new wxStaticText(this, kSizeReadoutId, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0);
    sizeRow->Add(sizeReadout_, 0, wxALL | wxALIGN_CENTER_VERTICAL, 0);

    auto* instruction =
        new wxStaticText(this, wxID_STATIC, wxGetTranslation("Please select a Set and Effect."),
                         wxDefaultPosition, wxDefaultSize, 0);
    left->Add(instruction, 0, wxALL, 5);

    auto* grid = new wxFlexGridSizer(2, 2, 0, 0);
    left->Add(grid, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);

    setLabel_ = new wxStaticText(this, kSetLabelId, wxGetTranslation("Vellicor &Set:"), wxDefaultPosition,
                                 wxDefaultSize, 0);
    grid->Add(setLabel_, 0, wxALL | wxALIGN_RIGHT | wxALIGN_CENTER_VERTICAL, 5);

    setChoice_ = new wxChoice(this, kSetChoiceId, wxDefaultPosition, wxSize(250, -1), 0, nullptr, 0);
    grid->Add(setChoice_, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);

    effectLabel_ = new wxStaticText(this, kEffectLabelId, wxGetTranslation("Vellicor &Effect:"),
                                    wxDefaultPosition, wxDefaultSize, 0);
    grid->Add(effectLabel_, 0, wxALL | wxALIGN_RIGHT | wxALIGN_CENTER_VERTICAL, 5);

    effectChoice_ = new wxChoice(this, kEffectChoiceId, wxDefaultPosition, wxSize(250, -1), 0, nullptr, 0);
    grid->Add(effectChoice_, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    top->Add(buttons, 0, wxALL, 5);

    struct ButtonLabel {
        wxWindowID id;
        const char* label;
    };
    const ButtonLabel buttonLabels[] = {
        {wxID_OK, "&OK"}, {wxID_CANCEL, "&Cancel"}, {kHelpButtonId, "&Help"}, {kInfoButtonId, "Info"}};
    for (const ButtonLabel& entry : buttonLabels) {
        auto* button =
            new wxButton(this, entry.id, wxGetTranslation(entry.label), wxDefaultPosition, wxDefaultSize, 0);
        if (entry.id == wxID_OK) {
            button->SetDefault();
        }
        buttons->Add(button, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);
    }

    SetTitle(FromNameBytes(runContext_->pluginName) + " by Corvane Labs");
    setLabel_->SetLabel("Honer Set:");
    effectLabel_->SetLabel("Honer Effect:");

    FillSetChoice();
    UpdateSizeReadout();
}

void VellicorDlg::FillSetChoice() {
    setChoice_->Clear();
    for (const auto& set : runContext_->sets) {
        setChoice_->Append(FromNameBytes(set->name), set.get());
    }
    const int selected = SelectByName(*setChoice_, runContext_->setName);
    FillEffectChoice(selected == wxNOT_FOUND ? nullptr
                                             : static_cast<const ActionSet*>(setChoice_->GetClientData(
                                                   static_cast<unsigned>(selected))));
}

void VellicorDlg::FillEffectChoice(const ActionSet* set) {
    effectChoice_->Clear();
    if (set == nullptr) {
        return;
    }
    for (const auto& effect : set->effects) {
        effectChoice_->Append(FromNameBytes(effect->name), effect.get());
    }
    SelectByName(*effectChoice_, runContext_->effectName);
}

void VellicorDlg::OnSetSelected(wxCommandEvent& event) {
    FillEffectChoice(static_cast<const ActionSet*>(event.GetClientData()));
    UpdateSizeReadout();
}

void VellicorDlg::OnOK(wxCommandEvent& /*event*/) {
    CopyToNameField(runContext_->setName, SelectedText(*setChoice_));
    CopyToNameField(runContext_->effectName, SelectedText(*effectChoice_));
    const int effect = effectChoice_->GetSelection();
    runContext_->chosenEffect =
        effect == wxNOT_FOUND
            ? nullptr
            : static_cast<Effect*>(effectChoice_->GetClientData(static_cast<unsigned>(effect)));
    EndModal(wxID_OK);
}

void VellicorDlg::OnHelp(wxCommandEvent& /*event*/) {
    CopyToNameField(runContext_->setName, kHelpSet);
    CopyToNameField(runContext_->effectName, kHelpEffect);
    runContext_->chosenEffect = nullptr;
    EndModal(wxID_OK);
}

void VellicorDlg::OnInfo(wxCommandEvent& /*event*/) {
    OpenInformationPage();
    EndModal(wxID_CANCEL);
}

bool ShowSetEffectDialog(RunContext& run) {
    if (wxTheApp == nullptr) {
        return true; // the toolkit is not running: there is no dialog to confirm
    }
    VellicorDlg dialog;
    dialog.SetRunContext(&run);
    dialog.Create(nullptr, kVellicorDlgId, wxGetTranslation("Dialog"), wxDefaultPosition, wxSize(400, 300),
                  wxCAPTION);
    return dialog.ShowModal() != wxID_OK;
}

} // namespace vlh
