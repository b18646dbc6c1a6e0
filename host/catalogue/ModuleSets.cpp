#include "host/catalogue/ModuleSets.h"

#include <memory>

#include "actionsets/ActionSet.h"
#include "host/catalogue/StoredSetDirectory.h"
#include "host/resources/ElfSection.h"
#include "host/resources/ResourceError.h"
#include "resources/StoredSetSection.h"

namespace vhost {

namespace {

LoadedPlugin LoadPlugin(const StoredSetDirectory& directory, size_t plugin) {
    LoadedPlugin loaded;
    loaded.name = directory.plugins[plugin];
    for (const StoredSetEntry& entry : SetsOfPlugin(directory, plugin)) {
        ++loaded.storedSets;
        auto set = std::make_unique<vlh::ActionSet>();
        vlh::LoadDiagnostics diagnostics;
        if (vlh::LoadActionSet(*set, entry.bytes.data(), entry.bytes.size(), &diagnostics)) {
            loaded.sets.push_back(std::move(set));
        } else {
            loaded.unreadable.push_back({entry.order, diagnostics.what});
        }
    }
    vlh::MergeEqualSets(loaded.sets);
    return loaded;
}

ListedPlugin ListPlugin(const LoadedPlugin& loaded) {
    ListedPlugin listed;
    listed.name = loaded.name;
    listed.storedSets = loaded.storedSets;
    listed.unreadable = loaded.unreadable;
    for (const auto& set : loaded.sets) {
        ListedSet out{set->name, {}};
        for (const auto& effect : set->effects) {
            out.effects.push_back(effect->name);
        }
        listed.sets.push_back(std::move(out));
    }
    return listed;
}

void Line(std::ostream& out, const char* label, const std::string& value) {
    out << "  " << label << std::string(14 - std::string_view(label).size(), ' ') << value << '\n';
}

std::string Plural(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::vector<LoadedPlugin> LoadStoredSets(std::span<const uint8_t> section) {
    const StoredSetDirectory directory = ParseStoredSetDirectory(section);
    std::vector<LoadedPlugin> plugins;
    for (size_t p = 0; p < directory.plugins.size(); ++p) {
        plugins.push_back(LoadPlugin(directory, p));
    }
    return plugins;
}

std::vector<ListedPlugin> ListStoredSets(std::span<const uint8_t> section) {
    std::vector<ListedPlugin> plugins;
    for (const LoadedPlugin& loaded : LoadStoredSets(section)) {
        plugins.push_back(ListPlugin(loaded));
    }
    return plugins;
}

std::vector<LoadedPlugin> LoadModuleSets(const std::string& path) {
    const std::vector<uint8_t> section = ReadElfSection(path, vlh::kStoredSetSectionName);
    return LoadStoredSets(section);
}

std::vector<ListedPlugin> ListModuleSets(const std::string& path) {
    const std::vector<uint8_t> section = ReadElfSection(path, vlh::kStoredSetSectionName);
    return ListStoredSets(section);
}

void WriteSetsAndEffects(const ListedPlugin& plugin, std::ostream& out) {
    std::string summary = Plural(plugin.sets.size(), "Set", "Sets") + " from " +
                          Plural(plugin.storedSets, "stored Set", "stored Sets");
    if (!plugin.unreadable.empty()) {
        summary += ", " + std::to_string(plugin.unreadable.size()) + " of them unreadable";
    }
    Line(out, "sets", summary);
    for (const UnreadableSet& bad : plugin.unreadable) {
        out << "    (stored Set " << bad.order << " left out: " << bad.what << ")\n";
    }
    for (const ListedSet& set : plugin.sets) {
        out << "    " << set.name << " (" << Plural(set.effects.size(), "Effect", "Effects") << ")\n";
        for (const std::string& effect : set.effects) {
            out << "      " << effect << '\n';
        }
    }
}

SetsAndEffectsWriter SetsAndEffectsFor(const std::string& modulePath) {
    auto plugins = std::make_shared<std::vector<ListedPlugin>>();
    std::string failure;
    try {
        *plugins = ListModuleSets(modulePath);
    } catch (const ResourceError& error) {
        failure = error.what();
    }
    return [plugins, failure](const PluginDescription& description, std::ostream& out) {
        if (!failure.empty()) {
            Line(out, "sets", "none: " + failure);
            return;
        }
        const std::string name = description.NameWithoutEllipsis();
        for (const ListedPlugin& plugin : *plugins) {
            if (plugin.name == name) {
                WriteSetsAndEffects(plugin, out);
                return;
            }
        }
        Line(out, "sets", "none: the module stores no Sets for " + name);
    };
}

} // namespace vhost
