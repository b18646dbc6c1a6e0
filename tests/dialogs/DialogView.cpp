#include "tests/dialogs/DialogView.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/bmpbuttn.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/stattext.h>

namespace vlh::dialogs {

namespace {

std::string Bytes(const wxString& text) {
    const wxCharBuffer bytes = text.To8BitData();
    return std::string(bytes.data(), bytes.length());
}

ChoiceView DescribeChoice(wxDialog& dialog, int id) {
    ChoiceView view;
    if (auto* choice = dynamic_cast<wxChoice*>(dialog.FindWindow(id))) {
        for (unsigned i = 0; i < choice->GetCount(); ++i) {
            view.entries.push_back(Bytes(choice->GetString(i)));
        }
        view.selection = choice->GetSelection();
    }
    return view;
}

} // namespace

wxDialog* ShownDialog() {
    for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<wxDialog*>(window);
        if (dialog != nullptr && dialog->IsModal() && dialog->IsShown()) {
            return dialog;
        }
    }
    return nullptr;
}

unsigned long XWindowOf(wxWindow& window) {
    GtkWidget* widget = window.GetHandle();
    GdkWindow* gdk = widget != nullptr ? gtk_widget_get_window(widget) : nullptr;
    return gdk != nullptr && GDK_IS_X11_WINDOW(gdk) ? gdk_x11_window_get_xid(gdk) : 0;
}

bool HasKeyboard(wxWindow& window) {
    GtkWidget* widget = window.GetHandle();
    return widget != nullptr && GTK_IS_WINDOW(widget) && gtk_window_has_toplevel_focus(GTK_WINDOW(widget));
}

DialogView Describe(wxDialog& dialog, XSession& x) {
    DialogView view;
    view.className = Bytes(dialog.GetClassInfo()->GetClassName());
    view.id = dialog.GetId();
    view.title = Bytes(dialog.GetTitle());
    dialog.GetClientSize(&view.clientWidth, &view.clientHeight);
    for (wxWindow* child : dialog.GetChildren()) {
        view.labels[child->GetId()] = Bytes(child->GetLabel());
        view.shown[child->GetId()] = child->IsShown();
        view.top[child->GetId()] = child->GetPosition().y;
        if (auto* button = dynamic_cast<wxBitmapButton*>(child)) {
            const wxBitmap bitmap = button->GetBitmapLabel();
            view.bitmapWidth = bitmap.IsOk() ? bitmap.GetWidth() : 0;
            view.bitmapHeight = bitmap.IsOk() ? bitmap.GetHeight() : 0;
        }
    }
    if (wxWindow* focus = wxWindow::FindFocus(); focus != nullptr && focus->GetParent() == &dialog) {
        view.focus = focus->GetId();
    }
    view.sets = DescribeChoice(dialog, 10001);
    view.effects = DescribeChoice(dialog, 10002);
    if (auto* readout = dynamic_cast<wxStaticText*>(dialog.FindWindow(10028))) {
        view.readout = Bytes(readout->GetLabel());
    }

    view.xWindow = XWindowOf(dialog);
    view.xTitle = x.Title(view.xWindow);
    view.transientFor = x.TransientFor(view.xWindow);
    view.hints = x.Hints(view.xWindow);
    view.modal = x.HasNetState(view.xWindow, "_NET_WM_STATE_MODAL");
    view.geometry = x.Geometry(view.xWindow).value_or(WindowGeometry{});
    return view;
}

std::optional<std::pair<int, int>> ControlCentre(wxDialog& dialog, int id) {
    wxWindow* control = dialog.FindWindow(id);
    if (control == nullptr || !control->IsShownOnScreen()) {
        return std::nullopt;
    }
    const wxRect rect = control->GetScreenRect();
    return std::make_pair(rect.x + rect.width / 2, rect.y + rect.height / 2);
}

} // namespace vlh::dialogs
