#include "host/manual/EffectCrops.h"

#include <vips/vips8>

#include "host/core/Host.h"
#include "host/core/PrivateSettings.h"
#include "host/core/ResultText.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/Engine.h"
#include "host/engine/Vips.h"
#include "host/loader/ResourceRegistration.h"
#include "host/manual/ManualError.h"
#include "hostapi/FourCharCode.h"

namespace vhost::manual {

namespace {

constexpr const char* kSampleName = "the sample picture";

// The crop of a float RGB image on the 0..1 scale, at 8 bits as a file would
// store it.
RgbPicture CropOf(const vips::VImage& rgb, const CropArea& area) {
    const vips::VImage crop = rgb.extract_area(area.left, area.top, area.width, area.height)
                                  .linear(255.0, 0.5)
                                  .cast(VIPS_FORMAT_UCHAR);
    size_t size = 0;
    void* bytes = crop.write_to_memory(&size);
    RgbPicture out{area.width, area.height, {}};
    out.rgb.assign(static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + size);
    g_free(bytes);
    return out;
}

} // namespace

struct EffectCropper::State {
    PrivateSettings settings{"vellicor-manual"};
    Host host;
    std::shared_ptr<const engine::EngineNotes> notes;
    ManualSample sample;
};

EffectCropper::EffectCropper(const std::string& modulePath, ManualSample sample)
    : state_(std::make_unique<State>()) {
    if (!state_->settings.Ok()) {
        throw ManualError("cannot make a private settings folder in " + PrivateSettings::Parent());
    }
    const CropArea& c = sample.crop;
    if (c.width < 1 || c.height < 1 || c.left < 0 || c.top < 0 || c.left + c.width > sample.image.width() ||
        c.top + c.height > sample.image.height()) {
        throw ManualError("the crop does not lie inside the sample picture");
    }
    state_->sample = std::move(sample);
    state_->notes = engine::InstallEngine(state_->host);
    std::string error;
    if (RegisterModuleFromResources(state_->host, modulePath, error).empty()) {
        throw ManualError("the module " + modulePath + " is refused: " + error);
    }
}

EffectCropper::~EffectCropper() = default;

RgbPicture EffectCropper::Before() const {
    try {
        return CropOf(engine::OpenPicture(state_->sample.image, kSampleName).rgb, state_->sample.crop);
    } catch (const std::exception& e) {
        throw ManualError("cannot take the sample picture: " + engine::VipsMessage(e));
    }
}

RgbPicture EffectCropper::After(const std::string& plugin, const std::string& set,
                                const std::string& effect) {
    const std::string what = plugin + " / " + set + " / " + effect;
    Host& host = state_->host;
    PluginRecord* record = host.FindPlugin(plugin + "...");
    if (record == nullptr) {
        throw ManualError(what + ": the module registers no plug-in \"" + plugin + "...\"");
    }
    try {
        host.OpenDocument(
            engine::DocumentFromPicture(engine::OpenPicture(state_->sample.image, kSampleName), ""));
    } catch (const std::exception& e) {
        throw ManualError(what + ": " + engine::VipsMessage(e));
    }
    DoItRequest request;
    request.playInfo = plugInDialogDontDisplay;
    request.descriptor.emplace();
    request.descriptor->Put(vlh::FourCC("VlSt"), Value::String(set));
    request.descriptor->Put(vlh::FourCC("VlAc"), Value::String(effect));
    const DoItResult result = host.DoIt(*record, request);
    if (result.result != 0) {
        host.CloseDocument();
        throw ManualError(what + ": the run returned " + ResultText(result.result) +
                          (result.refusal ? " (" + *result.refusal + ")" : "") +
                          (state_->notes->lastFailure.empty() ? "" : ": " + state_->notes->lastFailure));
    }
    RgbPicture crop;
    try {
        crop = CropOf(host.ActiveDocument()->pixels->layers.Composite(), state_->sample.crop);
    } catch (const std::exception& e) {
        host.CloseDocument();
        throw ManualError(what + ": cannot read the result: " + engine::VipsMessage(e));
    }
    host.CloseDocument();
    return crop;
}

std::string EffectCropper::Leftovers() const {
    return state_->host.Clean() ? "" : state_->host.Report();
}

} // namespace vhost::manual
