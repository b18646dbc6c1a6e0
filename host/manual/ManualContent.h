// What the manual says, gathered from the module before anything is drawn:
// its plug-ins as the resources declare them, their Sets and Effects as the
// module reads them, and each Effect in words.
#pragma once

#include <string>
#include <vector>

#include "host/manual/EffectWords.h"

namespace vhost::manual {

struct EffectEntry {
    std::string name; // the module's 8-bit name
    EffectWords words;
};

struct SetEntry {
    std::string name;
    std::string summary; // DescribeSet
    std::vector<EffectEntry> effects;
};

struct ScriptingEntry {
    std::string name; // "Set"
    std::string key;  // "VlSt"
    std::string type; // "TEXT"
};

struct PluginEntry {
    std::string name;     // catalogue name, e.g. "Vellicor Output Honer"
    std::string menuName; // "Vellicor Output Honer..."
    std::vector<ScriptingEntry> parameters;
    std::vector<SetEntry> sets;
};

struct ManualContent {
    std::vector<PluginEntry> plugins;
    std::vector<std::string> warnings; // stored Sets the module cannot read, and such
};

// Reads the module file: its plug-ins from its resources and their Sets from
// its stored-Set section, without running it. Throws ManualError when the
// module cannot be read or offers nothing.
ManualContent ReadManualContent(const std::string& modulePath);

size_t CountSets(const ManualContent& content);
size_t CountEffects(const ManualContent& content);

} // namespace vhost::manual
