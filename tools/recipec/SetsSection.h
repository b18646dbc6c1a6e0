// The stored Sets of the catalogue as the module embeds them: one section
// image (directory, plug-in names, stored Sets back to back; layout in
// resources/StoredSetSection.h) and the C++ source that places it in the
// module and defines the arrays of resources/StoredSets.h over it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/recipec/Catalogue.h"

namespace vtools {

// Where one stored Set lies in the section image.
struct PlacedSet {
    uint16_t plugin = 0;
    uint16_t order = 0;
    uint32_t offset = 0;
    uint32_t size = 0;
    const CompiledSet* set = nullptr;
};

struct SetsSection {
    Bytes image;
    std::vector<PlacedSet> placed; // in catalogue order
};

// Lays the catalogue out. Throws std::length_error when it does not fit the
// directory's 16- and 32-bit fields.
SetsSection BuildSetsSection(const Catalogue& catalogue);

// The module source over the section. The catalogue must have exactly the
// four plug-ins the module declares (Capture, Creative, Output, Capture
// Expert, in that order); throws std::invalid_argument otherwise.
void WriteSetsSource(std::ostream& out, const Catalogue& catalogue, const SetsSection& section);

} // namespace vtools
