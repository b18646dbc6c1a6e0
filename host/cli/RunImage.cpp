#include "host/cli/RunImage.h"

#include <cctype>
#include <filesystem>

#include "host/cli/RunProgress.h"
#include "host/core/Host.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/Engine.h"
#include "host/engine/EngineError.h"
#include "host/engine/Vips.h"

namespace vhost::cli {

namespace {

constexpr int kLabelWidth = 11;

void Line(std::ostream& out, const char* label, const std::string& value) {
    out << label << std::string(static_cast<size_t>(kLabelWidth) - std::string(label).size(), ' ') << value
        << '\n';
}

bool IsJpeg(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return ext == ".jpg" || ext == ".jpeg";
}

// Why the result cannot be stored in the output's format, found before any
// work is done.
std::optional<std::string> UnfitFormat(const Document& document, const std::string& output) {
    if (!IsJpeg(output)) {
        return std::nullopt;
    }
    if (document.depth != 8) {
        return "cannot write \"" + output + "\": JPEG holds 8 bits per channel only, and the image has " +
               std::to_string(document.depth) + "; name a .tif or .png result";
    }
    if (document.pixels && document.pixels->alpha) {
        return "cannot write \"" + output + "\": JPEG holds no alpha channel; name a .tif or .png result";
    }
    return std::nullopt;
}

std::string Untouched(const ImageTarget& target) {
    std::error_code ignored;
    const bool existed = std::filesystem::exists(target.output, ignored);
    return "nothing was written: \"" + target.input + "\"" +
           (existed ? " and \"" + target.output + "\" are as they were" : " is as it was");
}

ImageOutcome Failed(const std::string& why) {
    ImageOutcome outcome;
    outcome.failure = why;
    return outcome;
}

// Writes the document, with a progress bar when standard error is a
// terminal (otherwise libvips is not even asked for progress).
void Save(Document& document, const ImageTarget& target, bool overwrite) {
    if (!ProgressBar::StderrIsTerminal()) {
        engine::SaveImageDocument(document, target.output, overwrite);
        return;
    }
    std::vector<vips::VImage> layers;
    const engine::LayerStack& stack = document.pixels->layers;
    for (size_t i = 0; i < stack.Count(); ++i) {
        layers.push_back(stack.At(i).pixels);
    }
    ProgressBar bar(std::filesystem::path(target.input).filename().string());
    const ImageProgress progress(layers, bar);
    engine::SaveImageDocument(document, target.output, overwrite);
}

} // namespace

ImageOutcome RunOnImage(const RunSettings& settings, const ImageTarget& target, bool overwrite,
                        std::ostream& report) {
    Host host;
    try {
        host.OpenDocument(engine::OpenImageDocument(target.input));
    } catch (const engine::EngineError& refused) {
        // Not an image the plug-ins take: the module is never called.
        return Failed(std::string(refused.what()) + "; " + Untouched(target));
    }
    if (auto why = UnfitFormat(*host.ActiveDocument(), target.output)) {
        return Failed(*why + "; " + Untouched(target));
    }
    const std::shared_ptr<const engine::EngineNotes> notes = engine::InstallEngine(host);
    Line(report, "image", target.input);
    RequestOutcome request = SendRunRequest(host, settings, report);
    if (request.status != 0) {
        const std::string event =
            notes->lastFailure.empty() ? "" : "\n  the host refused " + notes->lastFailure;
        return Failed(request.failure + event + "\n" + Untouched(target));
    }
    if (host.ActiveDocument()->history.empty()) {
        // A successful run that played nothing: the Help of the dialog.
        return Failed(settings.pluginName + " played no Effect; " + Untouched(target));
    }
    ImageOutcome outcome;
    outcome.chosen = HandedBackChoice(request.result);
    try {
        Save(*host.ActiveDocument(), target, overwrite);
    } catch (const engine::EngineError& failure) {
        outcome.failure = std::string(failure.what()) + "; " + Untouched(target);
        return outcome;
    } catch (const vips::VError& failure) {
        outcome.failure = "cannot write \"" + target.output + "\": " + engine::VipsMessage(failure) + "; " +
                          Untouched(target);
        return outcome;
    }
    Line(report, "saved", target.output);
    report.flush();
    outcome.status = 0;
    return outcome;
}

} // namespace vhost::cli
