#include "windows/host/MainWindow.h"

#include "windows/host/SystemText.h"

#include <windows.h>

#include <stdexcept>

namespace vhost::win {

namespace {

constexpr char kWindowClass[] = "VellicorHostWindow";

// The class is registered once per process and stays registered.
void RegisterWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXA c = {};
        c.cbSize = sizeof c;
        c.lpfnWndProc = DefWindowProcA;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hCursor = LoadCursor(nullptr, IDC_ARROW);
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        c.lpszClassName = kWindowClass;
        if (RegisterClassExA(&c) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            throw std::runtime_error("cannot register the host's window class: " +
                                     SystemErrorText(GetLastError()));
        }
        return true;
    }();
    (void)registered;
}

} // namespace

MainWindow::MainWindow(Host& host, const std::string& title) : host_(host) {
    RegisterWindowClass();
    window_ = CreateWindowExA(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 900, 640, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window_ == nullptr) {
        throw std::runtime_error("cannot create the host's main window: " + SystemErrorText(GetLastError()));
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    host_.App().mainWindow = reinterpret_cast<intptr_t>(window_);
}

MainWindow::~MainWindow() {
    if (host_.App().mainWindow == reinterpret_cast<intptr_t>(window_)) {
        host_.App().mainWindow = 0;
    }
    if (Alive()) {
        DestroyWindow(window_);
    }
}

bool MainWindow::Alive() const {
    return IsWindow(window_) != FALSE;
}

bool ProcessMessagesUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

} // namespace vhost::win
