#include "tests/dialogs/DialogScript.h"

#include <glib.h>
#include <gtk/gtk.h>
#include <wx/choice.h>
#include <wx/dialog.h>

namespace vlh::dialogs {

namespace {

constexpr auto kStepTimeout = std::chrono::seconds(15);
constexpr guint kTickMs = 25;

// The keyboard's focus within the dialog, as GTK tracks it.
bool ChoiceHasKeyboard(wxChoice& choice) {
    GtkWidget* combo = choice.GetHandle();
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(gtk_widget_get_toplevel(combo)));
    return focus != nullptr && (focus == combo || gtk_widget_is_ancestor(focus, combo));
}

bool PopupShown(wxChoice& choice) {
    gboolean shown = FALSE;
    g_object_get(choice.GetHandle(), "popup-shown", &shown, nullptr);
    return shown != FALSE;
}

wxChoice* ChoiceOf(wxDialog* dialog, int id) {
    return dialog != nullptr ? dynamic_cast<wxChoice*>(dialog->FindWindow(id)) : nullptr;
}

} // namespace

DialogScript& DialogScript::Then(std::string what, Step step) {
    steps_.push_back({std::move(what), std::move(step)});
    return *this;
}

DialogScript& DialogScript::WaitForDialog(const std::string& className) {
    Then("wait for " + className, [this, className, focused = false](wxDialog* dialog) mutable {
        if (dialog == nullptr || dialog->GetClassInfo()->GetClassName() != className) {
            return false;
        }
        const unsigned long window = XWindowOf(*dialog);
        const auto geometry = window != 0 ? x_.Geometry(window) : std::nullopt;
        if (!geometry || !geometry->viewable) {
            return false;
        }
        if (!focused) {
            x_.MovePointer(geometry->x + geometry->width / 2, geometry->y + geometry->height / 2);
            x_.Focus(window);
            focused = true;
        }
        return HasKeyboard(*dialog);
    });
    return *this;
}

DialogScript& DialogScript::Observe(DialogView& view) {
    return Then("observe the dialog", [this, &view](wxDialog* dialog) {
        if (dialog == nullptr) {
            return false;
        }
        view = Describe(*dialog, x_);
        return true;
    });
}

DialogScript& DialogScript::Click(int id) {
    Then("point at control " + std::to_string(id), [this, id](wxDialog* dialog) {
        const auto centre = dialog != nullptr ? ControlCentre(*dialog, id) : std::nullopt;
        if (!centre) {
            return false;
        }
        x_.MovePointer(centre->first, centre->second);
        return true;
    });
    return Then("click control " + std::to_string(id), [this](wxDialog*) {
        x_.Click();
        return true;
    });
}

DialogScript& DialogScript::PressKey(const std::string& keysym, const char* modifier) {
    return Then("press " + keysym, [this, keysym, modifier](wxDialog* dialog) {
        if (dialog == nullptr || !HasKeyboard(*dialog)) {
            return false;
        }
        x_.PressKey(keysym, modifier);
        return true;
    });
}

DialogScript& DialogScript::Select(int choiceId, int index) {
    const std::string which = "choice " + std::to_string(choiceId);
    Click(choiceId);
    Then("wait for the list of " + which, [choiceId](wxDialog* dialog) {
        wxChoice* choice = ChoiceOf(dialog, choiceId);
        return choice != nullptr && PopupShown(*choice);
    });
    Then("close the list of " + which, [this](wxDialog*) {
        x_.PressKey("Escape");
        return true;
    });
    Then("wait for the keyboard on " + which, [choiceId](wxDialog* dialog) {
        wxChoice* choice = ChoiceOf(dialog, choiceId);
        return choice != nullptr && !PopupShown(*choice) && ChoiceHasKeyboard(*choice);
    });
    Then("press Home on " + which, [this](wxDialog*) {
        x_.PressKey("Home");
        return true;
    });
    return Then("move to entry " + std::to_string(index) + " of " + which,
                [this, choiceId, index](wxDialog* dialog) {
                    wxChoice* choice = ChoiceOf(dialog, choiceId);
                    if (choice == nullptr) {
                        return false;
                    }
                    if (choice->GetSelection() < index) {
                        x_.PressKey("Down");
                        return false; // see the key's effect on the next tick
                    }
                    return choice->GetSelection() == index;
                });
}

DialogScript& DialogScript::WaitUntilClosed() {
    return Then("wait until the dialog is closed", [](wxDialog* dialog) { return dialog == nullptr; });
}

void DialogScript::Tick() {
    wxDialog* dialog = ShownDialog();
    if (!failure_.empty()) {
        // Give up: end whatever is still up so that the request returns.
        if (dialog != nullptr) {
            dialog->EndModal(wxID_CANCEL);
        }
        return;
    }
    const bool timedOut = std::chrono::steady_clock::now() - stepStarted_ > kStepTimeout;
    if (next_ >= steps_.size()) {
        if (dialog != nullptr && timedOut) {
            failure_ = "a dialog was still up after the last step";
        }
        return;
    }
    if (steps_[next_].step(dialog)) {
        ++next_;
        stepStarted_ = std::chrono::steady_clock::now();
    } else if (timedOut) {
        failure_ = "step \"" + steps_[next_].what + "\" did not finish";
    }
}

void DialogScript::RunDuring(const std::function<void()>& request) {
    stepStarted_ = std::chrono::steady_clock::now();
    const guint source = g_timeout_add(
        kTickMs,
        [](gpointer self) -> gboolean {
            static_cast<DialogScript*>(self)->Tick();
            return G_SOURCE_CONTINUE;
        },
        this);
    request();
    g_source_remove(source);
    // Steps that wait for the dialog to be gone finish now.
    while (failure_.empty() && next_ < steps_.size() && steps_[next_].step(nullptr)) {
        ++next_;
    }
    if (failure_.empty() && next_ < steps_.size()) {
        failure_ = "the request returned before step \"" + steps_[next_].what + "\"";
    }
}

} // namespace vlh::dialogs
