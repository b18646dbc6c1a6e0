#include "about/AboutDlg.h"

#include <wx/app.h>
#include <wx/bmpbuttn.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/sizer.h>

#if defined(__WXGTK__)
#include <gtk/gtk.h>
#endif

namespace vlh {

namespace {

constexpr wxWindowID kAboutDlgId = 10003;

#if defined(__WXGTK__)
// A window without a border style has no frame on Windows; GTK would still ask
// the window manager for a border around it.
constexpr long kBareWindow = wxBORDER_NONE;

// A GTK button draws a frame and padding around its picture; the logo button
// shows the picture alone, so that the window is exactly the logo's size.
void ShowPictureOnly(wxBitmapButton& button) {
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css,
                                    "button { padding: 0; margin: 0; border-width: 0; min-width: 0;"
                                    " min-height: 0; box-shadow: none; }",
                                    -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(button.GetHandle()), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}
#else
constexpr long kBareWindow = 0;
void ShowPictureOnly(wxBitmapButton&) {
}
#endif

} // namespace

// A bare window holding one bitmap button: the logo. A click on it sends the
// OK command, which the dialog's standard handling answers by ending the
// modal loop.
class AboutDlg : public wxDialog {
    wxDECLARE_DYNAMIC_CLASS(AboutDlg);

public:
    AboutDlg() = default;

    // The encoded logo; module data, not owned.
    void SetPicture(const unsigned char* image, uint32_t length) {
        imageBytes_ = image;
        imageLength_ = length;
    }

    // Builds the window and the logo, fits the window to the logo and centres
    // it. Always true.
    bool Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                const wxSize& size, long style);

    void CreateControls();

private:
    wxBitmapButton* logoButton_ = nullptr;
    const unsigned char* imageBytes_ = nullptr;
    uint32_t imageLength_ = 0;
};

wxIMPLEMENT_DYNAMIC_CLASS(AboutDlg, wxDialog);

bool AboutDlg::Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                      const wxSize& size, long style) {
    logoButton_ = nullptr;
    SetExtraStyle(GetExtraStyle() | wxWS_EX_BLOCK_EVENTS);
    wxDialog::Create(parent, id, caption, pos, size, style, "dialog");
    CreateControls();
    if (GetSizer() != nullptr) {
        GetSizer()->SetSizeHints(this);
    }
    Centre();
    return true;
}

// The sizer and the button belong to the window, which deletes them.
void AboutDlg::CreateControls() {
    auto* column = new wxBoxSizer(wxVERTICAL);
    SetSizer(column);

    logoButton_ = new wxBitmapButton(this, wxID_OK, wxNullBitmap, wxDefaultPosition, wxDefaultSize,
                                     wxBU_EXACTFIT, wxDefaultValidator, "button");
    column->Add(logoButton_, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 0);
    ShowPictureOnly(*logoButton_);

    wxMemoryInputStream stream(imageBytes_, imageLength_);
    wxImage image;
    // A picture that does not decode leaves the button without one.
    if (image.LoadFile(stream, wxBITMAP_TYPE_ANY, -1) && image.IsOk()) {
        logoButton_->SetBitmapLabel(wxBitmap(image, -1));
    }
}

void ShowAboutDlg(const unsigned char* image, uint32_t length) {
    if (wxTheApp == nullptr) {
        return; // the toolkit is not running: no window can be shown
    }
    AboutDlg dialog;
    dialog.SetPicture(image, length);
    dialog.Create(nullptr, kAboutDlgId, wxEmptyString, wxDefaultPosition, wxSize(400, 300), kBareWindow);
    dialog.ShowModal();
}

} // namespace vlh
