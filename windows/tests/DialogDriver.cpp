#include "windows/tests/DialogDriver.h"

#include "windows/tests/WineSupport.h"

#include <stdexcept>

namespace vhost::wintest {

DialogDriver* DialogDriver::active_ = nullptr;

namespace {

constexpr UINT kTickMs = 100;
// Ticks a new window is left to settle (painted, focused) before the keys.
constexpr int kSettleTicks = 3;

struct Search {
    HWND host;
    HWND found = nullptr;
};

BOOL CALLBACK FindShown(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (window == search->host || !IsWindowVisible(window) || std::string(className) == "IME") {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

std::string TitleOf(HWND window) {
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

} // namespace

DialogDriver::DialogDriver(HWND hostWindow, std::vector<std::string> keys, std::chrono::milliseconds limit)
    : host_(hostWindow), keys_(std::move(keys)), limit_(limit) {
    if (active_ != nullptr) {
        throw std::logic_error("one dialog driver at a time");
    }
    active_ = this;
    timer_ = SetTimer(nullptr, 0, kTickMs, Tick);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer_);
    active_ = nullptr;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (active_ != nullptr) {
        active_->Step();
    }
}

HWND DialogDriver::ShownWindow() const {
    Search search{host_};
    EnumThreadWindows(GetCurrentThreadId(), FindShown, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void DialogDriver::Step() {
    if (current_ != nullptr && !IsWindowVisible(current_)) {
        current_ = nullptr; // gone: the next window may come
        ticksSeen_ = 0;
        closing_ = false;
    }
    if (current_ == nullptr) {
        current_ = ShownWindow();
        return;
    }
    if (++ticksSeen_ == kSettleTicks) {
        SeenWindow seen;
        seen.window = current_;
        seen.owner = GetWindow(current_, GW_OWNER);
        seen.title = TitleOf(current_);
        char className[256] = {};
        GetClassNameA(current_, className, sizeof className);
        seen.className = className;
        seen.hostEnabled = IsWindowEnabled(host_) != FALSE;
        seen.instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(current_, GWLP_HINSTANCE));
        GetClientRect(current_, &seen.client);
        seen_.push_back(seen);
        Press(current_);
        pressedAt_ = std::chrono::steady_clock::now();
    } else if (ticksSeen_ > kSettleTicks && !closing_ &&
               std::chrono::steady_clock::now() - pressedAt_ > limit_) {
        problems_.push_back("\"" + TitleOf(current_) + "\" was still there after the key presses; closed");
        closing_ = true;
        PostMessageA(current_, WM_CLOSE, 0, 0);
    }
}

void DialogDriver::Press(HWND window) {
    // wine's X11 driver keeps the window's X window in this property.
    const auto xWindow = reinterpret_cast<uintptr_t>(GetPropA(window, "__wine_x11_whole_window"));
    if (xWindow == 0) {
        problems_.push_back("no X window for \"" + TitleOf(window) + "\"");
        return;
    }
    std::string command =
        std::string(VLH_XDOTOOL) + " windowfocus --sync " + std::to_string(xWindow) + " key --delay 150";
    for (const std::string& key : keys_) {
        command += " " + key;
    }
    if (!StartProgram(command)) {
        problems_.push_back("cannot start " + command);
    }
}

} // namespace vhost::wintest
