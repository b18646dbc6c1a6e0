// Stored recipe streams played on a real document: a Set that loads is
// played, Effect after Effect, in an in-process host with its image engine on
// a small white 8-bit RGB document, so every recorded descriptor reaches the
// engine's reading of event parameters, layer references and blend modes.
// Whatever an Effect does or fails to do, the document keeps its size and at
// least one layer, its pixels can be computed, and the host's books are clean.
// Same input and mutator as the stored_stream target.
#include <cstddef>
#include <cstdint>

#include <vips/vips8>

#include "actionsets/ActionSet.h"
#include "actionsets/Playback.h"
#include "fuzz/FuzzHost.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/Engine.h"

namespace {

using vlh::fuzz::Require;

constexpr int32_t kWidth = 5;
constexpr int32_t kHeight = 4;

void CheckDocument(vhost::Host& host) {
    vhost::Document* document = host.ActiveDocument();
    Require(document != nullptr, "the document stays open");
    Require(document->width == kWidth && document->height == kHeight, "the document keeps its size");
    if (document->pixels == nullptr) {
        return; // nothing has touched its pixels
    }
    const vhost::engine::LayerStack& layers = document->pixels->layers;
    Require(layers.Count() >= 1, "the document keeps a layer");
    for (size_t i = 0; i < layers.Count(); ++i) {
        const vips::VImage& pixels = layers.At(i).pixels;
        Require(pixels.width() == kWidth && pixels.height() == kHeight,
                "every layer has the document's size");
    }
    // Computing the target layer runs every operation played on it.
    const double average = layers.Target().pixels.avg();
    Require(average == average, "the target layer's pixels are numbers");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vlh::ActionSet set;
    if (!vlh::LoadActionSet(set, data, size)) {
        return 0;
    }
    vlh::fuzz::FuzzHost session;
    vhost::Host& host = session.host();
    vhost::engine::InstallEngine(host);
    vhost::Document document;
    document.width = kWidth;
    document.height = kHeight;
    host.OpenDocument(document);
    for (const auto& effect : set.effects) {
        vlh::PlayEffect(*effect);
        CheckDocument(host);
    }
    return 0;
}
