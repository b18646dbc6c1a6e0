#include "plugin/Toolkit.h"

#include "hostapi/HostSuites.h"
#include "plugin/DisplayCheck.h"

#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/window.h>

#if defined(__WXGTK__)
#include <gtk/gtk.h>
#elif defined(__WXMSW__)
#include <wx/msw/private.h>
#endif

#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

namespace vlh {

// The application object the toolkit makes at every start and deletes at
// every cleanup. It has nothing of its own: the module has no program to run.
class ToolkitApp : public wxApp {};

} // namespace vlh

// Registers the factory once, when the module is loaded. The factory checks
// the toolkit build the module was compiled against before it makes the app.
wxIMPLEMENT_APP_NO_MAIN(vlh::ToolkitApp);

namespace vlh {

// The host's main window as the toolkit sees it: a plain window that is never
// created, only handed the host's native window for the length of a request,
// so that a modal dialog made without a parent is owned by the host's window.
class HostWindow final : public wxWindow {
public:
    HostWindow() = default;
    // Never destroys the host's window, whatever path leads here.
    ~HostWindow() override { Release(); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Takes the host's window, keeps it alive while adopted and counts it as
    // shown (a hidden window cannot own a dialog).
    void Adopt(intptr_t nativeWindow) {
#if defined(__WXGTK__)
        m_widget = GTK_WIDGET(g_object_ref(reinterpret_cast<GtkWidget*>(nativeWindow)));
#elif defined(__WXMSW__)
        SetHWND(reinterpret_cast<WXHWND>(nativeWindow));
#endif
        m_isShown = true;
    }

    // Lets the host's window go, so that neither the toolkit's cleanup nor
    // this wrapper's destruction touches it.
    void Release() {
#if defined(__WXGTK__)
        GtkWidget* widget = std::exchange(m_widget, nullptr);
        if (widget != nullptr) {
            g_object_unref(widget);
        }
#elif defined(__WXMSW__)
        SetHWND(nullptr);
#endif
        m_isShown = false;
    }
};

namespace {

// wxWidgets' own log target turns into message boxes once the app exists; the
// host shows no message of ours, so the toolkit writes to standard error.
void InstallLogTarget() {
    std::unique_ptr<wxLog> previous(wxLog::SetActiveTarget(std::make_unique<wxLogStderr>().release()));
}

// A failed self-check of the toolkit would otherwise ask the user, in a modal
// box over the host, whether to stop the host.
void ReportAssertion(const wxString& file, int line, const wxString& function, const wxString& condition,
                     const wxString& message) {
    std::fprintf(stderr, "Honer: toolkit check failed: %s:%d in %s: %s %s\n", file.utf8_str().data(), line,
                 function.utf8_str().data(), condition.utf8_str().data(), message.utf8_str().data());
}

wxAssertHandler_t gPreviousAssertHandler = nullptr;

#if defined(__WXMSW__)
// The toolkit makes its windows, registers its window classes and finds its
// resources under the instance it is given; left alone it takes the host
// program's. The module's own keeps them apart from those of any other module
// with a toolkit of its own in the same host.
void UseModuleInstance() {
    static const char inThisModule = 0;
    HMODULE self = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&inThisModule), &self)) {
        wxSetInstance(self);
    }
}
#endif

// Starts the toolkit; false (and nothing to clean up) when it cannot start.
bool EnterToolkit() {
    if (!DisplayAvailable()) {
        return false;
    }
    gPreviousAssertHandler = wxSetAssertHandler(ReportAssertion);
    InstallLogTarget();
#if defined(__WXMSW__)
    UseModuleInstance();
#endif
    int argc = 0;
    if (!wxEntryStart(argc, static_cast<wxChar**>(nullptr))) {
        // The toolkit undid its own start; a cleanup now would crash.
        wxSetAssertHandler(gPreviousAssertHandler);
        return false;
    }
    // The start dropped the log target set above.
    InstallLogTarget();
    return true;
}

void LeaveToolkit() {
    wxEntryCleanup();
    wxSetAssertHandler(gPreviousAssertHandler);
}

} // namespace

// Returns the wrapper of the host's main window, listed first among the
// toolkit's top-level windows; null when the toolkit did not start. The
// wrapper holds nothing when the host has no main window.
std::unique_ptr<HostWindow> StartToolkit() {
    if (!EnterToolkit()) {
        return nullptr;
    }
    try {
        auto wrapper = std::make_unique<HostWindow>();
        if (const intptr_t mainWindow = gHost.uiHooks->MainAppWindow(); mainWindow != 0) {
            wrapper->Adopt(mainWindow);
            wxTopLevelWindows.Append(wrapper.get());
        }
        return wrapper;
    } catch (...) {
        LeaveToolkit();
        throw;
    }
}

// Unlists and releases the wrapper before the toolkit's cleanup (which would
// otherwise destroy the host's window with it), then destroys it.
void ShutDownToolkit(std::unique_ptr<HostWindow> wrapper) {
    wxTopLevelWindows.DeleteObject(wrapper.get());
    wrapper->Release();
    LeaveToolkit();
    wrapper.reset();
}

ToolkitSession::ToolkitSession() : wrapper_(StartToolkit()) {
}

ToolkitSession::~ToolkitSession() {
    if (wrapper_) {
        ShutDownToolkit(std::move(wrapper_));
    }
}

} // namespace vlh
