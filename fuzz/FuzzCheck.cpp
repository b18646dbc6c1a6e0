#include "fuzz/FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

namespace vlh::fuzz {

void Require(bool condition, const char* promise) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

uint64_t HashOf(const uint8_t* data, size_t size) noexcept {
    uint64_t hash = 0xcbf29ce484222325u;
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * 0x100000001b3u;
    }
    return hash;
}

} // namespace vlh::fuzz
