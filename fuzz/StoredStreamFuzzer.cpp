// Stored recipe streams, as the module embeds them, through LoadActionSet;
// a Set that loads is played in an in-process host, every Effect in turn,
// once as it is and once with a host call failing part way (the call is
// chosen from the input). After each playback the host's books must be clean.
//
// With libFuzzer the mutator mostly works on the inflated layout and stores
// the result again (compressed and scrambled by our writer), so mutations
// reach the descriptor reader and the playback instead of only breaking the
// compressed data; one mutation in eight changes the stored bytes themselves.
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

#ifdef VLH_LIBFUZZER
#include <algorithm>
#include <cstring>
#include <random>
#include <span>

#include <zlib.h>

#include "tools/actionwriter/ActionWriter.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

// The most plain bytes a mutation starts from.
constexpr size_t kMaxPlain = 1 << 20;

// The plain layout behind a stored stream, as far as it inflates; false when
// nothing does.
bool Restore(const uint8_t* data, size_t size, vtools::Bytes& plain) {
    vtools::Bytes compressed = vtools::Unscramble(std::span<const uint8_t>(data, size));
    z_stream inflater{};
    if (inflateInit(&inflater) != Z_OK) {
        return false;
    }
    plain.resize(kMaxPlain);
    inflater.next_in = compressed.data();
    inflater.avail_in = uInt(compressed.size());
    inflater.next_out = plain.data();
    inflater.avail_out = uInt(plain.size());
    inflate(&inflater, Z_FINISH);
    plain.resize(inflater.total_out);
    inflateEnd(&inflater);
    return !plain.empty();
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    std::minstd_rand random(seed);
    vtools::Bytes plain;
    if (random() % 8 != 0 && Restore(data, size, plain)) {
        const size_t used = plain.size();
        plain.resize(std::min(kMaxPlain, used + maxSize));
        plain.resize(LLVMFuzzerMutate(plain.data(), used, plain.size()));
        const vtools::Bytes stored = vtools::RawToStored(plain);
        if (stored.size() <= maxSize) {
            std::memcpy(data, stored.data(), stored.size());
            return stored.size();
        }
    }
    return LLVMFuzzerMutate(data, size, maxSize);
}
#endif
