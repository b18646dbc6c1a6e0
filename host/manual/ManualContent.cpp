#include "host/manual/ManualContent.h"

#include "host/catalogue/ModuleSets.h"
#include "host/manual/ManualError.h"
#include "host/resources/ModulePlugins.h"
#include "host/resources/ResourceError.h"
#include "hostapi/FourCharCode.h"

namespace vhost::manual {

namespace {

PluginEntry EntryOf(const PluginDescription& description) {
    PluginEntry entry;
    entry.name = description.NameWithoutEllipsis();
    entry.menuName = description.menuName;
    for (const ScriptingParameter& p : description.parameters) {
        entry.parameters.push_back({p.name, vlh::FourCCText(p.key), vlh::FourCCText(p.type)});
    }
    return entry;
}

std::vector<SetEntry> SetsOf(const LoadedPlugin& plugin) {
    std::vector<SetEntry> sets;
    for (const auto& set : plugin.sets) {
        SetEntry entry{set->name, DescribeSet(*set), {}};
        for (const auto& effect : set->effects) {
            entry.effects.push_back({effect->name, DescribeEffect(*effect)});
        }
        sets.push_back(std::move(entry));
    }
    return sets;
}

} // namespace

ManualContent ReadManualContent(const std::string& modulePath) {
    std::vector<PluginDescription> descriptions;
    std::vector<LoadedPlugin> loaded;
    try {
        descriptions = DescribeModulePlugins(modulePath);
        loaded = LoadModuleSets(modulePath);
    } catch (const ResourceError& e) {
        throw ManualError(e.what());
    }
    ManualContent content;
    for (const PluginDescription& description : descriptions) {
        PluginEntry entry = EntryOf(description);
        bool found = false;
        for (const LoadedPlugin& plugin : loaded) {
            if (plugin.name != entry.name) {
                continue;
            }
            found = true;
            entry.sets = SetsOf(plugin);
            for (const UnreadableSet& bad : plugin.unreadable) {
                content.warnings.push_back(entry.name + ": stored Set " + std::to_string(bad.order) +
                                           " is left out, as the module leaves it out: " + bad.what);
            }
        }
        if (!found) {
            content.warnings.push_back(entry.name + ": the module stores no Sets for it");
        }
        content.plugins.push_back(std::move(entry));
    }
    if (CountSets(content) == 0) {
        throw ManualError(modulePath + " offers no Sets: there is nothing to describe");
    }
    return content;
}

size_t CountSets(const ManualContent& content) {
    size_t n = 0;
    for (const PluginEntry& p : content.plugins) {
        n += p.sets.size();
    }
    return n;
}

size_t CountEffects(const ManualContent& content) {
    size_t n = 0;
    for (const PluginEntry& p : content.plugins) {
        for (const SetEntry& s : p.sets) {
            n += s.effects.size();
        }
    }
    return n;
}

} // namespace vhost::manual
