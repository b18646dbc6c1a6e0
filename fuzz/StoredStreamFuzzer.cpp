// Stored recipe streams, as the module embeds them, through LoadActionSet;
// a Set that loads is played in an in-process host, every Effect in turn,
// once as it is and once with a host call failing part way (the call is
// chosen from the input). After each playback the host's books must be clean.
// With libFuzzer the mutations mostly work on the inflated layout
// (StoredStreamMutator.cpp).
#include <cstddef>
#include <cstdint>

#include "actionsets/ActionSet.h"
#include "actionsets/Playback.h"
#include "fuzz/FuzzHost.h"

namespace {

using vlh::fuzz::Require;

// The code the failing host call answers: an action-suite error that fits
// the 16-bit results.
constexpr int32_t kInjectedCode = -25920;

// Plays every Effect of the Set; with failAt > 0 the failAt-th host call
// after the suites were acquired fails. Returns how many host calls the
// playback made.
uint64_t PlaySet(const vlh::ActionSet& set, uint64_t failAt) {
    vlh::fuzz::FuzzHost session;
    vhost::Host& host = session.host();
    if (failAt > 0) {
        host.FaultPlan().FailNthHostCall(failAt, kInjectedCode);
    }
    size_t enabledEvents = 0;
    for (const auto& effect : set.effects) {
        // Any code may come back (the host refuses some IDs and values); what
        // matters is that nothing leaks and nothing is freed twice.
        vlh::PlayEffect(*effect);
        for (const auto& event : effect->events) {
            enabledEvents += event->enabled ? 1 : 0;
        }
    }
    Require(host.Calls().Count("Control.Play") <= enabledEvents, "only enabled events are played");
    return host.Calls().Total();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vlh::ActionSet set;
    vlh::LoadDiagnostics diagnostics;
    const bool loaded = vlh::LoadActionSet(set, data, size, &diagnostics);
    Require(set.reader == nullptr || !set.reader->IsOpen(), "the reader is closed after a load");
    Require(diagnostics.storedOffset <= size, "the reader never goes past the stored bytes");
    if (!loaded) {
        Require(!diagnostics.what.empty(), "a refused Set says why");
        return 0;
    }
    Require(diagnostics.what.empty(), "a Set that loads has no fault");
    const uint64_t calls = PlaySet(set, 0);
    if (calls > 0) {
        PlaySet(set, 1 + vlh::fuzz::HashOf(data, size) % calls);
    }
    return 0;
}
