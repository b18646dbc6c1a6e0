// A Windows module's resources of given types, read with the system's own
// resource functions from the file mapped as data: nothing in it runs, as
// when the real host reads a module before it calls anything.
#pragma once

#include "host/resources/ResourceDirectory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vhost {

// Resources larger than this, or more of them than kMaxPeResources, are
// refused rather than read.
constexpr size_t kMaxPeResourceSize = 16 * 1024 * 1024;
constexpr size_t kMaxPeResources = 4096;

// The language looked for first: US English.
constexpr uint16_t kUsEnglish = 1033;

class PeResources {
public:
    // Reads every resource with a numeric ID of each type (in the order
    // given; IDs ascending within a type): the US English one where there is
    // one, otherwise the first language the file lists. Throws ResourceError
    // "<path>: <why>" when the file cannot be mapped or a resource read.
    static PeResources Read(const std::string& path, const std::vector<std::string>& types);

    // The resources read; their bytes live as long as this object.
    const std::vector<ResourceEntry>& Entries() const { return entries_; }

private:
    std::vector<std::unique_ptr<std::vector<uint8_t>>> storage_;
    std::vector<ResourceEntry> entries_;
};

} // namespace vhost
