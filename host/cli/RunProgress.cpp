#include "host/cli/RunProgress.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace vhost::cli {

namespace {

constexpr auto kMoment = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kBarWidth = 30;
constexpr size_t kLabelWidth = 36;

void OnEval(VipsImage* /*image*/, VipsProgress* progress, void* bar) {
    static_cast<ProgressBar*>(bar)->Show(progress->percent / 100.0);
}

} // namespace

ProgressBar::ProgressBar(std::string label, bool enabled) : label_(std::move(label)), enabled_(enabled) {
    if (label_.size() > kLabelWidth) {
        label_ = "..." + label_.substr(label_.size() - (kLabelWidth - 3));
    }
}

ProgressBar::~ProgressBar() {
    Clear();
}

bool ProgressBar::StderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

void ProgressBar::Show(double fraction) {
    if (!enabled_) {
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const Clock::time_point now = Clock::now();
    if (now - start_ < kMoment || (drawn_ && now - lastDrawn_ < kRedrawEvery)) {
        return;
    }
    const double f = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(f * kBarWidth + 0.5);
    std::fprintf(stderr, "\r%-*s [%s%s] %3d%%", static_cast<int>(kLabelWidth), label_.c_str(),
                 std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(kBarWidth - filled), ' ').c_str(),
                 static_cast<int>(f * 100 + 0.5));
    std::fflush(stderr);
    drawn_ = true;
    lastDrawn_ = now;
}

void ProgressBar::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (drawn_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        drawn_ = false;
    }
}

ImageProgress::ImageProgress(const std::vector<vips::VImage>& sources, ProgressBar& bar) {
    for (const vips::VImage& image : sources) {
        vips_image_set_progress(image.get_image(), TRUE);
        const unsigned long handler = g_signal_connect(image.get_image(), "eval", G_CALLBACK(OnEval), &bar);
        watched_.push_back({image, handler});
    }
}

ImageProgress::~ImageProgress() {
    for (Watched& w : watched_) {
        g_signal_handler_disconnect(w.image.get_image(), w.handler);
        vips_image_set_progress(w.image.get_image(), FALSE);
    }
}

} // namespace vhost::cli
