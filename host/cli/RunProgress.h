// A progress bar on the terminal for work that takes longer than a moment.
// It draws on standard error, and only when that is a terminal: piped or
// redirected output never carries it.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include <vips/vips8>

namespace vhost::cli {

class ProgressBar {
public:
    // Draws only when enabled (by default: when standard error is a terminal).
    explicit ProgressBar(std::string label, bool enabled = StderrIsTerminal());
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Shows how far the work is (0 to 1), from half a second after the bar
    // was made on, at most ten times a second. Safe from any thread.
    void Show(double fraction);
    // Takes the bar off the line, if it was drawn.
    void Clear();

    static bool StderrIsTerminal();

private:
    using Clock = std::chrono::steady_clock;
    std::string label_;
    bool enabled_;
    bool drawn_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDrawn_{};
    std::mutex mutex_;
};

// Passes libvips' progress in computing any image made from these images
// (a file written from them) on to the bar, for as long as it lives.
class ImageProgress {
public:
    ImageProgress(const std::vector<vips::VImage>& sources, ProgressBar& bar);
    ~ImageProgress();
    ImageProgress(const ImageProgress&) = delete;
    ImageProgress& operator=(const ImageProgress&) = delete;

private:
    struct Watched {
        vips::VImage image;
        unsigned long handler;
    };
    std::vector<Watched> watched_;
};

} // namespace vhost::cli
