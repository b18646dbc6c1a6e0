// The mutator of the targets whose input is a stored stream: with libFuzzer it
// mostly works on the inflated layout and stores the result again
// (compressed and scrambled by our writer), so mutations reach the
// descriptor reader and the playback instead of only breaking the compressed
// data; one mutation in eight changes the stored bytes themselves. Without
// libFuzzer there is nothing to mutate and this file is empty.
#ifdef VLH_LIBFUZZER
#include <algorithm>
#include <cstddef>
#include <cstdint>
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
