// Reading an action-set file for people: the file's bytes are loaded through
// the module's own reader and printed as a tree (Effects, events with their
// flags, descriptors with keys, types and values, references with their
// forms), or as one line saying what was wrong and at which byte.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

namespace vlh {
struct ActionSet;
}

namespace vtools {

enum class ActionFileForm {
    Raw,    // the host's action-file layout, starting with the big-endian version
    Stored, // compressed and scrambled, as the module embeds it
};

// Raw when the first byte is zero: the high byte of a big-endian version. A
// stored stream never starts with zero, since that would need the zlib header
// byte 0x5B, whose compression method (11) does not exist.
ActionFileForm DetectActionFileForm(std::span<const uint8_t> bytes);

// Loads the file's bytes (raw ones are made stored in memory first) with the
// module's LoadActionSet. On success writes the tree to out and returns 0. On
// failure writes one line to out, "<what was wrong> at byte <n> ...", and
// returns 1.
int InspectActionFile(std::span<const uint8_t> bytes, std::ostream& out);

// The tree of a loaded Set, one line per node, two spaces per level.
std::string FormatActionSet(const vlh::ActionSet& set);

} // namespace vtools
