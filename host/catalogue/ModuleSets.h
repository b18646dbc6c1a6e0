// The Sets and Effects each plug-in of a module offers, read from the module
// file without running it: the stored-Set section's directory gives each
// plug-in's stored Sets in load order; each is read with the module's own
// reader and equally named Sets are merged exactly as the module merges them.
// A stored Set the reader refuses is left out, as the module leaves it out,
// and reported.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "actionsets/ActionSet.h"
#include "host/resources/PluginListing.h"

namespace vhost {

struct ListedSet {
    std::string name;
    std::vector<std::string> effects; // in the order the module offers them
};

struct UnreadableSet {
    uint16_t order = 0; // place among the plug-in's stored Sets
    std::string what;   // why the reader refused it
};

struct ListedPlugin {
    std::string name;      // catalogue name, without "..."
    size_t storedSets = 0; // how many the module stores for it
    std::vector<ListedSet> sets;
    std::vector<UnreadableSet> unreadable;
};

// A plug-in's Sets as the module reads them, events and recorded parameters
// included, for whatever needs more than the names.
struct LoadedPlugin {
    std::string name;      // catalogue name, without "..."
    size_t storedSets = 0; // how many the module stores for it
    vlh::ActionSetList sets;
    std::vector<UnreadableSet> unreadable;
};

// Every plug-in of a stored-Set section, in catalogue order. Throws
// ResourceError when the directory is damaged.
std::vector<ListedPlugin> ListStoredSets(std::span<const uint8_t> section);
std::vector<LoadedPlugin> LoadStoredSets(std::span<const uint8_t> section);

// The same from the module file at path. Throws ResourceError when the file
// cannot be read or has no stored-Set section.
std::vector<ListedPlugin> ListModuleSets(const std::string& path);
std::vector<LoadedPlugin> LoadModuleSets(const std::string& path);

// The lines of one plug-in's Sets and Effects, indented by two blanks, in the
// style of the plug-in listing.
void WriteSetsAndEffects(const ListedPlugin& plugin, std::ostream& out);

// For `vellicor list`: reads the module's stored Sets once and writes, for
// each listed plug-in, its Sets and Effects (matched by the plug-in's name
// without "..."), or one line saying why there are none.
SetsAndEffectsWriter SetsAndEffectsFor(const std::string& modulePath);

} // namespace vhost
