// The stored-Set section: laid out by the generator, read back by the host's
// directory reader with every damaged field refused, listed with Sets merged
// as the module merges them, and read from the built module file.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "host/catalogue/ModuleSets.h"
#include "host/catalogue/StoredSetDirectory.h"
#include "host/resources/ResourceError.h"
#include "tests/catalogue/HostFixture.h"
#include "tools/recipec/SetsSection.h"

namespace vhost {
namespace {

using vtools::Bytes;

// A Set source whose Effects blur by 1, 2, 3... px, so their recipes differ.
vtools::CompiledSet Compiled(const std::string& setName, const std::vector<std::string>& effects,
                             int firstRadius) {
    std::string text = "Set: " + setName + "\n";
    int radius = firstRadius;
    for (const std::string& effect : effects) {
        text += "Effect: " + effect + "\n    gaussianBlur Rds=" + std::to_string(radius++) + "px\n";
    }
    return vtools::CompileRecipe(text, setName + ".recipe");
}

// Two plug-ins: the first with Sets A, B, A (which merge), the second with C.
vtools::Catalogue SmallCatalogue() {
    vtools::Catalogue catalogue;
    catalogue.plugins.push_back({"First Plug-in",
                                 1,
                                 {Compiled("A", {"a1", "a2", "a3"}, 1), Compiled("B", {"b1", "b2", "b3"}, 1),
                                  Compiled("A", {"a4", "a5", "a6"}, 4)}});
    catalogue.plugins.push_back({"Second Plug-in", 2, {Compiled("C", {"c1", "c2", "c3"}, 1)}});
    return catalogue;
}

void PutU16(Bytes& image, size_t at, uint16_t value) {
    image[at] = uint8_t(value);
    image[at + 1] = uint8_t(value >> 8);
}

void PutU32(Bytes& image, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        image[at + size_t(i)] = uint8_t(value >> (8 * i));
    }
}

// Offsets in the small catalogue's directory: 2 plug-ins, 4 stored Sets.
constexpr size_t kPluginEntry = 12;
constexpr size_t kSetEntry = 12 + 2 * 8;

TEST(StoredSetDirectory, ReadsBackWhatTheGeneratorLaidOut) {
    const vtools::Catalogue catalogue = SmallCatalogue();
    const vtools::SetsSection section = vtools::BuildSetsSection(catalogue);
    const StoredSetDirectory directory = ParseStoredSetDirectory(section.image);
    EXPECT_EQ((std::vector<std::string>{"First Plug-in", "Second Plug-in"}), directory.plugins);
    ASSERT_EQ(4u, directory.sets.size());
    const std::vector<StoredSetEntry> first = SetsOfPlugin(directory, 0);
    ASSERT_EQ(3u, first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(i, first[i].order);
        EXPECT_EQ(catalogue.plugins[0].sets[i].stored, Bytes(first[i].bytes.begin(), first[i].bytes.end()));
    }
    // The stored Sets lie back to back after the directory and the names.
    EXPECT_EQ(section.image.data() + section.image.size(),
              directory.sets.back().bytes.data() + directory.sets.back().bytes.size());
    for (size_t i = 1; i < directory.sets.size(); ++i) {
        EXPECT_EQ(directory.sets[i - 1].bytes.data() + directory.sets[i - 1].bytes.size(),
                  directory.sets[i].bytes.data());
    }
}

TEST(StoredSetDirectory, RefusesEveryDamagedField) {
    const Bytes good = vtools::BuildSetsSection(SmallCatalogue()).image;
    struct Case {
        const char* what;
        void (*damage)(Bytes&);
        const char* message;
    };
    const Case cases[] = {
        {"magic", [](Bytes& b) { b[0] = 'X'; }, "does not start with the stored-Set directory's magic"},
        {"version", [](Bytes& b) { PutU16(b, 4, 2); }, "directory layout 2 is not known"},
        {"set count", [](Bytes& b) { PutU16(b, 8, 0xFFFF); }, "stored Sets needs 786448 bytes"},
        {"plug-in count", [](Bytes& b) { PutU16(b, 6, 0x4000); }, "needs"},
        {"truncated header", [](Bytes& b) { b.resize(10); }, "truncated: reserved at offset 10"},
        {"name inside directory", [](Bytes& b) { PutU32(b, kPluginEntry, 4); },
         "name of plug-in 0 starts at 4, inside"},
        {"name past end", [](Bytes& b) { PutU32(b, kPluginEntry + 12, 0xFFFFFFF0); },
         "name of plug-in 1 of 4294967280 bytes"},
        {"plug-in index", [](Bytes& b) { PutU16(b, kSetEntry + 12, 2); },
         "stored Set 1 belongs to plug-in 2, but there are 2"},
        {"set offset", [](Bytes& b) { PutU32(b, kSetEntry + 4, 0xFFFFFFFF); }, "stored Set 0 of"},
        {"set size", [](Bytes& b) { PutU32(b, kSetEntry + 36 + 8, uint32_t(b.size())); }, "stored Set 3 of"},
        {"order twice", [](Bytes& b) { PutU16(b, kSetEntry + 12 + 2, 0); }, "has two stored Sets in place 0"},
        {"order gap", [](Bytes& b) { PutU16(b, kSetEntry + 24 + 2, 5); }, "leave a gap before place 5"},
    };
    for (const Case& c : cases) {
        Bytes damaged = good;
        c.damage(damaged);
        try {
            ParseStoredSetDirectory(damaged);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const ResourceError& error) {
            EXPECT_NE(std::string::npos, std::string(error.what()).find(c.message))
                << c.what << ": " << error.what();
        }
    }
    EXPECT_THROW(ParseStoredSetDirectory({}), ResourceError);
}

TEST(ModuleSets, ListsMergedSetsAndReportsAStoredSetTheReaderRefuses) {
    const vtools::SetsSection section = vtools::BuildSetsSection(SmallCatalogue());
    std::vector<ListedPlugin> plugins = ListStoredSets(section.image);
    ASSERT_EQ(2u, plugins.size());
    EXPECT_EQ("First Plug-in", plugins[0].name);
    EXPECT_EQ(3u, plugins[0].storedSets);
    ASSERT_EQ(2u, plugins[0].sets.size());
    EXPECT_EQ("A", plugins[0].sets[0].name);
    EXPECT_EQ((std::vector<std::string>{"a1", "a2", "a3", "a4", "a5", "a6"}), plugins[0].sets[0].effects);
    EXPECT_EQ("B", plugins[0].sets[1].name);
    EXPECT_TRUE(plugins[0].unreadable.empty());

    // Damage the second stored Set of the first plug-in (B) in its middle.
    Bytes damaged = section.image;
    const vtools::PlacedSet& b = section.placed[1];
    std::memset(damaged.data() + b.offset + b.size / 2, 0xA5, b.size / 4);
    plugins = ListStoredSets(damaged);
    ASSERT_EQ(1u, plugins[0].unreadable.size());
    EXPECT_EQ(1, plugins[0].unreadable[0].order);
    EXPECT_FALSE(plugins[0].unreadable[0].what.empty());
    ASSERT_EQ(1u, plugins[0].sets.size());
    EXPECT_EQ(6u, plugins[0].sets[0].effects.size());
    EXPECT_EQ(1u, plugins[1].sets.size());
}

TEST(ModuleSets, WritesSetsAndEffectsForTheListing) {
    ListedPlugin plugin{"P", 3, {{"A", {"a1", "a2"}}, {"B", {"b1"}}}, {{2, "the data ends early"}}};
    std::ostringstream out;
    WriteSetsAndEffects(plugin, out);
    EXPECT_EQ("  sets          2 Sets from 3 stored Sets, 1 of them unreadable\n"
              "    (stored Set 2 left out: the data ends early)\n"
              "    A (2 Effects)\n"
              "      a1\n"
              "      a2\n"
              "    B (1 Effect)\n"
              "      b1\n",
              out.str());
}

TEST(ModuleSets, AFileWithoutStoredSetsListsNoneAndSaysWhy) {
    const std::string path = ::testing::TempDir() + "not_a_module.8li";
    std::ofstream(path) << "not an ELF file";
    EXPECT_THROW(ListModuleSets(path), ResourceError);
    const SetsAndEffectsWriter writer = SetsAndEffectsFor(path);
    PluginDescription description;
    description.menuName = "Vellicor Capture Honer...";
    std::ostringstream out;
    writer(description, out);
    EXPECT_EQ(0u, out.str().rfind("  sets          none: ", 0)) << out.str();
    EXPECT_NE(std::string::npos, out.str().find("not an ELF file")) << out.str();
}

// The built module, read from its file, offers what the module itself loads.
class ModuleFileTest : public vlh::test::HostFixture {};

TEST_F(ModuleFileTest, TheModuleFileListsWhatTheModuleOffers) {
    const std::vector<ListedPlugin> listed = ListModuleSets(VLH_HONER_PATH);
    ASSERT_EQ(vlh::PluginRecords().size(), listed.size());
    for (size_t p = 0; p < listed.size(); ++p) {
        const vlh::PluginRecord& record = vlh::PluginRecords()[p];
        SCOPED_TRACE(record.name);
        EXPECT_EQ(record.name, listed[p].name);
        EXPECT_EQ(size_t(record.storedSetCount), listed[p].storedSets);
        EXPECT_TRUE(listed[p].unreadable.empty());

        vlh::RunContext run;
        std::strncpy(run.pluginName, record.name, sizeof run.pluginName - 1);
        ASSERT_TRUE(vlh::LoadPluginSets(run));
        ASSERT_EQ(run.sets.size(), listed[p].sets.size());
        for (size_t s = 0; s < run.sets.size(); ++s) {
            EXPECT_EQ(run.sets[s]->name, listed[p].sets[s].name);
            std::vector<std::string> effects;
            for (const auto& effect : run.sets[s]->effects) {
                effects.push_back(effect->name);
            }
            EXPECT_EQ(effects, listed[p].sets[s].effects);
        }
    }

    // The listing writer finds each plug-in by its menu name.
    const SetsAndEffectsWriter writer = SetsAndEffectsFor(VLH_HONER_PATH);
    PluginDescription description;
    description.menuName = "Vellicor Output Honer...";
    std::ostringstream out;
    writer(description, out);
    EXPECT_EQ(0u, out.str().rfind("  sets          4 Sets from 4 stored Sets\n", 0)) << out.str();
    EXPECT_NE(std::string::npos, out.str().find("    Web and Multimedia Honers (")) << out.str();
    description.menuName = "Vellicor Unknown Honer...";
    std::ostringstream none;
    writer(description, none);
    EXPECT_EQ("  sets          none: the module stores no Sets for Vellicor Unknown Honer\n", none.str());
}

} // namespace
} // namespace vhost
