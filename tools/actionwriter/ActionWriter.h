// Writing action sets: the model (ActionModel.h) serialised into the host's
// action-set layout ("raw" bytes, as the host saves an action file), then
// made into a stored stream: compressed as a zlib stream and scrambled byte
// by byte (stored byte i = compressed byte i XOR stored byte i-1 XOR
// (i mod 256), the seed 0x5B standing in for stored byte -1).
//
// The output is deterministic: the same model gives the same bytes.
#pragma once

#include <span>

#include "tools/actionwriter/ActionModel.h"

namespace vtools {

// The raw layout of one Set: version, name, expanded flag, Effects.
Bytes SerialiseSet(const SetModel& set);
// The raw layout of one recorded descriptor (class name, class ID, items).
Bytes SerialiseDescriptor(const DescriptorModel& body);

// A zlib stream (two-byte header, deflate data, Adler-32 trailer) of plain,
// at the best compression level.
Bytes Compress(std::span<const uint8_t> plain);
// The scramble and its inverse; Unscramble(Scramble(x)) == x.
Bytes Scramble(std::span<const uint8_t> compressed);
Bytes Unscramble(std::span<const uint8_t> stored);

// Raw action-set bytes to a stored stream: Scramble(Compress(raw)).
Bytes RawToStored(std::span<const uint8_t> raw);
// The stored stream of a Set: RawToStored(SerialiseSet(set)).
Bytes WriteStoredSet(const SetModel& set);

} // namespace vtools
