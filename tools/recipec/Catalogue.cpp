#include "tools/recipec/Catalogue.h"

#include <fstream>
#include <map>
#include <set>

namespace vtools {

namespace {

std::string Trimmed(std::string line) {
    const auto notBlank = [](char c) { return c != ' ' && c != '\t' && c != '\r'; };
    while (!line.empty() && !notBlank(line.back())) {
        line.pop_back();
    }
    size_t start = 0;
    while (start < line.size() && !notBlank(line[start])) {
        ++start;
    }
    return line.substr(start);
}

struct ManifestEntry {
    std::string file;
    int line = 0;
};

struct ManifestPlugin {
    std::string name;
    int line = 0;
    std::vector<ManifestEntry> sources;
};

std::vector<ManifestPlugin> ReadManifest(const std::filesystem::path& manifest, const std::string& shownAs,
                                         Diagnostics& found) {
    std::ifstream in(manifest);
    if (!in) {
        found.Add(shownAs, 0, "cannot read " + manifest.string());
        return {};
    }
    std::vector<ManifestPlugin> plugins;
    std::set<std::string> listed;
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line) {
        const std::string text = Trimmed(raw);
        if (text.empty() || text.front() == '#') {
            continue;
        }
        if (text.rfind("Plug-in:", 0) == 0) {
            plugins.push_back({Trimmed(text.substr(8)), line, {}});
            if (plugins.back().name.empty()) {
                found.Add(shownAs, line, "a Plug-in: line without a name");
            }
        } else if (plugins.empty()) {
            found.Add(shownAs, line, "a recipe source before the first Plug-in: line");
        } else if (!listed.insert(text).second) {
            found.Add(shownAs, line,
                      "the source " + text + " is listed twice (each stored Set belongs to one place)");
        } else {
            plugins.back().sources.push_back({text, line});
        }
    }
    for (const ManifestPlugin& plugin : plugins) {
        if (plugin.sources.empty()) {
            found.Add(shownAs, plugin.line, "the plug-in " + plugin.name + " lists no recipe source");
        }
    }
    return plugins;
}

// Effects of equally named Sets end up in one Set of the plug-in: their names
// and recipes must differ across the sources as well.
void CheckMergedSets(const CataloguePlugin& plugin, Diagnostics& found) {
    struct Seen {
        const CompiledSet* set;
        const CompiledEffect* effect;
    };
    std::map<std::string, std::vector<Seen>> bySet;
    for (const CompiledSet& set : plugin.sets) {
        std::vector<Seen>& merged = bySet[set.name];
        for (const CompiledEffect& effect : set.effects) {
            for (const Seen& earlier : merged) {
                if (earlier.set == &set) {
                    continue; // checked within the source already
                }
                const std::string where = earlier.set->file + ":" + std::to_string(earlier.effect->line);
                if (earlier.effect->name == effect.name) {
                    found.Add(set.file, effect.line,
                              "the Effect \"" + effect.name + "\" is already in the Set \"" + set.name +
                                  "\" of " + plugin.name + " (" + where + ")");
                } else if (earlier.effect->recipe == effect.recipe) {
                    found.Add(set.file, effect.line,
                              "the Effect \"" + effect.name + "\" repeats the recipe of \"" +
                                  earlier.effect->name + "\" in the Set \"" + set.name + "\" (" + where +
                                  ")");
                }
            }
        }
        for (const CompiledEffect& effect : set.effects) {
            merged.push_back({&set, &effect});
        }
    }
}

} // namespace

Catalogue CompileCatalogue(const std::filesystem::path& manifest) {
    Diagnostics found;
    const std::string manifestName = manifest.filename().string();
    const std::vector<ManifestPlugin> listed = ReadManifest(manifest, manifestName, found);
    const std::filesystem::path folder = manifest.parent_path();
    Catalogue catalogue;
    catalogue.inputs.push_back(manifest);
    for (const ManifestPlugin& entry : listed) {
        CataloguePlugin plugin{entry.name, entry.line, {}};
        for (const ManifestEntry& source : entry.sources) {
            const std::filesystem::path path = folder / source.file;
            catalogue.inputs.push_back(path);
            try {
                plugin.sets.push_back(CompileRecipeFile(path, source.file));
            } catch (const RecipeError& error) {
                for (const Diagnostic& d : error.Found().List()) {
                    found.Add(d.file, d.line, d.what);
                }
            }
        }
        CheckMergedSets(plugin, found);
        catalogue.plugins.push_back(std::move(plugin));
    }
    if (!found.Empty()) {
        throw RecipeError(std::move(found));
    }
    return catalogue;
}

} // namespace vtools
