#include "host/ui/MainWindow.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstring>

namespace vhost::ui {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;

// A module's wxWidgets asks GTK not to set the locale after the host has
// started GTK; GTK warns about it once per process and nothing comes of it.
// Every other message goes out as GLib would write it.
GLogWriterOutput WriteLogMessage(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data) {
    for (gsize i = 0; i < count; ++i) {
        if (std::strcmp(fields[i].key, "MESSAGE") == 0 && fields[i].length < 0 &&
            std::strstr(static_cast<const char*>(fields[i].value), "gtk_disable_setlocale") != nullptr) {
            return G_LOG_WRITER_HANDLED;
        }
    }
    return g_log_writer_default(level, fields, count, data);
}

bool StartGtk() {
    static const bool started = [] {
        if (!gtk_init_check(nullptr, nullptr)) {
            return false;
        }
        // GLib takes one writer per process: the host's.
        g_log_set_writer_func(WriteLogMessage, nullptr, nullptr);
        return true;
    }();
    return started;
}

} // namespace

struct MainWindow::State {
    GtkWidget* window = nullptr; // null once destroyed
    bool mapped = false;
};

MainWindow::MainWindow(Key, std::unique_ptr<State> state) : state_(std::move(state)) {
}

std::unique_ptr<MainWindow> MainWindow::Open(const std::string& title) {
    if (!StartGtk()) {
        return nullptr;
    }
    auto state = std::make_unique<State>();
    state->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(state->window), title.c_str());
    gtk_window_set_default_size(GTK_WINDOW(state->window), kWidth, kHeight);
    gtk_window_move(GTK_WINDOW(state->window), 0, 0);
    // The state outlives the window (the destructor destroys the window
    // first), so the handlers below never see it gone.
    g_signal_connect(state->window, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer data) {
                         static_cast<State*>(data)->window = nullptr;
                     }),
                     state.get());
    g_signal_connect(state->window, "map-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) -> gboolean {
                         static_cast<State*>(data)->mapped = true;
                         return FALSE;
                     }),
                     state.get());
    gtk_widget_show_all(state->window);
    State* raw = state.get();
    ProcessEventsUntil([raw] { return raw->mapped; }, std::chrono::seconds(5));
    return std::make_unique<MainWindow>(Key{}, std::move(state));
}

MainWindow::~MainWindow() {
    if (state_->window != nullptr) {
        gtk_widget_destroy(state_->window);
    }
    while (gtk_events_pending()) {
        gtk_main_iteration_do(FALSE);
    }
}

intptr_t MainWindow::Handle() const {
    return reinterpret_cast<intptr_t>(state_->window);
}

unsigned long MainWindow::XWindow() const {
    if (state_->window == nullptr) {
        return 0;
    }
    GdkWindow* window = gtk_widget_get_window(state_->window);
    return window != nullptr && GDK_IS_X11_WINDOW(window) ? gdk_x11_window_get_xid(window) : 0;
}

bool MainWindow::Alive() const {
    return state_->window != nullptr;
}

bool ProcessEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        if (gtk_events_pending()) {
            gtk_main_iteration_do(FALSE);
        } else {
            g_usleep(1000);
        }
    }
    return true;
}

} // namespace vhost::ui
