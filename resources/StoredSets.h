// The catalogue's stored Sets: the recipes under resources/recipes, compiled
// at build time into compressed, scrambled action-set streams that live in
// the module's data. One array per plug-in, in the order its Sets load.
#pragma once

#include <cstdint>

namespace vlh {

// One stored Set. The size bounds the reader; the stream itself ends where
// its compressed data ends.
struct StoredSet {
    const uint8_t* bytes;
    uint32_t size;
};

extern const StoredSet kCaptureStoredSets[];
extern const int32_t kCaptureStoredSetCount;
extern const StoredSet kCreativeStoredSets[];
extern const int32_t kCreativeStoredSetCount;
extern const StoredSet kOutputStoredSets[];
extern const int32_t kOutputStoredSetCount;
extern const StoredSet kCaptureExpertStoredSets[];
extern const int32_t kCaptureExpertStoredSetCount;

} // namespace vlh
