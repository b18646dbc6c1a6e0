// A user at the keyboard and mouse, as a list of steps that run while a
// request runs. The module's dialogs are modal: their loop is the host's GTK
// main loop, nested, so a GLib timeout of the test keeps firing inside it.
// Each tick runs the current step; a step returns true when it is done and
// is called again on the next tick until then. Input goes through the X server
// (XTest); what the dialog shows is read through wxWidgets.
//
//   DialogScript script(x);
//   DialogView seen;
//   script.WaitForDialog("VellicorDlg").Observe(seen).PressKey("Escape");
//   script.RunDuring([&] { result = DoIt(...); });
//   EXPECT_TRUE(script.Finished()) << script.Failure();
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tests/dialogs/DialogView.h"
#include "tests/dialogs/XSession.h"

namespace vlh::dialogs {

class DialogScript {
public:
    using Step = std::function<bool(wxDialog* dialog)>;

    explicit DialogScript(XSession& x) : x_(x) {}

    // A step of its own; dialog is the modal dialog up now, or null.
    DialogScript& Then(std::string what, Step step);

    // Waits until a dialog of that class is up, mapped by the X server, and
    // has the keyboard (given to it as a window manager would).
    DialogScript& WaitForDialog(const std::string& className);
    // Copies what the dialog shows into view.
    DialogScript& Observe(DialogView& view);
    // Moves the pointer to the middle of a control and clicks.
    DialogScript& Click(int id);
    DialogScript& PressKey(const std::string& keysym, const char* modifier = nullptr);
    // Picks an entry of a choice as a user does with the keyboard: a click
    // opens its list, Escape closes it and leaves the keyboard on the choice,
    // then Home and Down until the entry is selected.
    DialogScript& Select(int choiceId, int index);
    // Waits until no dialog is up.
    DialogScript& WaitUntilClosed();

    // Runs request() with the steps ticking inside its modal loops. A step
    // that does not finish in time fails the script, which then closes any
    // dialog still up so that the request returns.
    void RunDuring(const std::function<void()>& request);

    bool Finished() const { return next_ == steps_.size() && failure_.empty(); }
    // Which step did not finish, and why; empty when none.
    const std::string& Failure() const { return failure_; }

private:
    struct Entry {
        std::string what;
        Step step;
    };
    void Tick();

    XSession& x_;
    std::vector<Entry> steps_;
    size_t next_ = 0;
    std::chrono::steady_clock::time_point stepStarted_;
    std::string failure_;
};

} // namespace vlh::dialogs
