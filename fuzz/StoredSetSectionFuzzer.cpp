// A module file's stored-Set section through the host's reader, as `vellicor
// list` reads it: the directory, then every plug-in's stored Sets through the
// module's own reader, merged by name. A damaged directory is refused with a
// message; otherwise every stored Set is either listed or reported unreadable,
// and merging never makes Sets out of nothing.
#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "host/catalogue/ModuleSets.h"
#include "host/resources/ResourceError.h"

namespace {

using vlh::fuzz::Require;

void CheckPlugin(const vhost::ListedPlugin& plugin) {
    Require(plugin.unreadable.size() <= plugin.storedSets, "only stored Sets can be unreadable");
    Require(plugin.sets.size() <= plugin.storedSets - plugin.unreadable.size(), "merging never adds Sets");
    for (size_t i = 0; i < plugin.sets.size(); ++i) {
        for (size_t j = i + 1; j < plugin.sets.size(); ++j) {
            Require(plugin.sets[i].name != plugin.sets[j].name, "merged Sets have distinct names");
        }
    }
    for (const vhost::UnreadableSet& bad : plugin.unreadable) {
        Require(!bad.what.empty(), "an unreadable Set says why");
    }
    std::ostringstream out;
    vhost::WriteSetsAndEffects(plugin, out);
    Require(!out.str().empty(), "the listing says something");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        for (const vhost::ListedPlugin& plugin :
             vhost::ListStoredSets(std::span<const uint8_t>(data, size))) {
            CheckPlugin(plugin);
        }
    } catch (const vhost::ResourceError& error) {
        Require(*error.what() != '\0', "a refused section says why");
    }
    return 0;
}
