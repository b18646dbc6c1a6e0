#include "host/engine/Engine.h"

#include <new>
#include <optional>

#include "host/engine/DocumentFiles.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/EngineError.h"
#include "host/engine/Events.h"
#include "host/engine/Vips.h"
#include "hostapi/FourCharCode.h"

namespace vhost::engine {

namespace {

constexpr int16_t kMemFullErr = -108;

// Does one event on the active document, putting its layers back as they were
// when the event fails.
void PlayOn(Host& host, const PlayCall& call, const EventEntry& entry) {
    const EventParameters parameters(call.descriptor);
    Document* document = host.ActiveDocument();
    if (document == nullptr) {
        throw EngineError(code::kEventNotAvailable, "no document is open");
    }
    DocumentPixels& pixels = PixelsOf(*document);
    LayerStack before = pixels.layers;
    EventContext context{host, pixels, parameters};
    try {
        entry.play(context);
    } catch (...) {
        pixels.layers = std::move(before);
        throw;
    }
}

PlayAnswer Refused(EngineNotes& notes, int16_t code, const std::string& message) {
    notes.lastFailure = message;
    PlayAnswer answer;
    answer.result = code;
    return answer;
}

std::optional<PlayAnswer> Answer(Host& host, const PlayCall& call, const EventEntry& entry,
                                 EngineNotes& notes) {
    if (entry.accepts != nullptr && !entry.accepts(call)) {
        return std::nullopt;
    }
    try {
        PlayOn(host, call, entry);
        return PlayAnswer{};
    } catch (const EngineError& failure) {
        return Refused(notes, failure.Code(), call.stringID + ": " + failure.what());
    } catch (const vips::VError& failure) {
        return Refused(notes, code::kParamErr, call.stringID + ": " + VipsMessage(failure));
    } catch (const std::bad_alloc&) {
        return Refused(notes, kMemFullErr, call.stringID + ": out of memory");
    } catch (const std::exception& failure) {
        return Refused(notes, code::kParamErr, call.stringID + ": " + failure.what());
    }
}

bool IsEngineEvent(const std::string& stringID) {
    for (const EventEntry& entry : EventTable()) {
        if (stringID == entry.stringID) {
            return true;
        }
    }
    return false;
}

void SaveLayers(Host& host) {
    if (Document* document = host.ActiveDocument(); document != nullptr && document->pixels) {
        document->pixels->saved.push_back(document->pixels->layers);
    }
}

void RestoreLayersOnFailure(Host& host, int32_t procResult) {
    Document* document = host.ActiveDocument();
    if (document == nullptr || !document->pixels || document->pixels->saved.empty()) {
        return;
    }
    DocumentPixels& pixels = *document->pixels;
    if (procResult != 0) {
        pixels.layers = std::move(pixels.saved.back());
    }
    pixels.saved.pop_back();
}

} // namespace

std::shared_ptr<const EngineNotes> InstallEngine(Host& host) {
    auto notes = std::make_shared<EngineNotes>();
    for (const EventEntry& entry : EventTable()) {
        host.AddPlayHandler(entry.stringID, [&entry, notes](Host& h, const PlayCall& call) {
            return Answer(h, call, entry, *notes);
        });
    }
    host.AddFallbackPlayHandler([notes](Host&, const PlayCall& call) -> std::optional<PlayAnswer> {
        if (IsEngineEvent(call.stringID)) {
            // A "set" that neither the engine nor the host's other handlers took.
            return Refused(*notes, code::kInvalidParameters,
                           call.stringID +
                               ": the target is neither a layer nor anything else this host sets");
        }
        const std::string name = call.stringID.empty() ? "event '" + vlh::FourCCText(call.eventID) + "'"
                                                       : "\"" + call.stringID + "\"";
        return Refused(*notes, code::kEventNotAvailable, name + " is not an event this host can play");
    });
    host.SetHistoryHooks(HistoryHooks{SaveLayers, RestoreLayersOnFailure});
    return notes;
}

} // namespace vhost::engine
