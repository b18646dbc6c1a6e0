// The catalogue the module ships: every stored Set of every plug-in loads,
// the Output plug-in offers its media by name, and the embedded bytes are
// exactly what the recipe sources compile to.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include "catalogue/Catalogue.h"
#include "tests/catalogue/HostFixture.h"
#include "tools/recipec/Catalogue.h"
#include "tools/recipec/SetsSection.h"

namespace vlh::test {
namespace {

const char* const kCapture = "Vellicor Capture Honer";
const char* const kCreative = "Vellicor Creative Honer";
const char* const kOutput = "Vellicor Output Honer";
const char* const kExpert = "Vellicor Capture Honer Expert";

class RealCatalogueTest : public HostFixture {
protected:
    // The Sets the named plug-in offers; the test fails when there are none.
    RunContext& Offered(const char* plugin) {
        RunContext& run = runs_[plugin];
        if (run.sets.empty()) {
            std::strncpy(run.pluginName, plugin, sizeof run.pluginName - 1);
            EXPECT_TRUE(LoadPluginSets(run)) << plugin;
        }
        return run;
    }

private:
    std::map<std::string, RunContext> runs_;
};

TEST_F(RealCatalogueTest, EveryRecordLoadsEachOfItsStoredSets) {
    const std::map<std::string, int32_t> expected = {
        {kCapture, 16}, {kCreative, 3}, {kOutput, 4}, {kExpert, 16}};
    ASSERT_EQ(4u, PluginRecords().size());
    for (const PluginRecord& record : PluginRecords()) {
        EXPECT_EQ(expected.at(record.name), record.storedSetCount) << record.name;
        for (int32_t i = 0; i < record.storedSetCount; ++i) {
            ActionSet set;
            LoadDiagnostics diagnostics;
            EXPECT_TRUE(
                LoadActionSet(set, record.storedSets[i].bytes, record.storedSets[i].size, &diagnostics))
                << record.name << " stored Set " << i << ": " << diagnostics.what;
            // The stream ends where its stored bytes end: nothing to spare, nothing missing.
            EXPECT_LE(diagnostics.storedOffset, record.storedSets[i].size);
        }
    }
}

TEST_F(RealCatalogueTest, OutputOffersItsFourMediaWithTheWebSetByItsExactName) {
    std::vector<std::string> names;
    for (const auto& set : Offered(kOutput).sets) {
        names.push_back(set->name);
    }
    EXPECT_EQ((std::vector<std::string>{"Inkjet Output Honers", "Continuous Tone Output Honers",
                                        "Halftone Output Honers", "Web and Multimedia Honers"}),
              names);
}

// The module's bytes are what the sources compile to now, and compiling is
// reproducible: twice gives the same section and the same source text.
TEST(RecipeReproducibility, EmbeddedSetsAreTheSourcesCompiledAgain) {
    const vtools::Catalogue first = vtools::CompileCatalogue(VLH_RECIPE_DIR "/Catalogue.txt");
    const vtools::Catalogue second = vtools::CompileCatalogue(VLH_RECIPE_DIR "/Catalogue.txt");
    ASSERT_EQ(PluginRecords().size(), first.plugins.size());
    for (size_t p = 0; p < first.plugins.size(); ++p) {
        const PluginRecord& record = PluginRecords()[p];
        EXPECT_EQ(std::string(record.name), first.plugins[p].name);
        ASSERT_EQ(size_t(record.storedSetCount), first.plugins[p].sets.size());
        for (size_t i = 0; i < first.plugins[p].sets.size(); ++i) {
            const vtools::Bytes& compiled = first.plugins[p].sets[i].stored;
            const vtools::Bytes embedded(record.storedSets[i].bytes,
                                         record.storedSets[i].bytes + record.storedSets[i].size);
            EXPECT_EQ(compiled, embedded)
                << first.plugins[p].sets[i].file << " differs from the module's copy";
            EXPECT_EQ(compiled, second.plugins[p].sets[i].stored);
        }
    }
    std::ostringstream a;
    std::ostringstream b;
    vtools::WriteSetsSource(a, first, vtools::BuildSetsSection(first));
    vtools::WriteSetsSource(b, second, vtools::BuildSetsSection(second));
    EXPECT_EQ(a.str(), b.str());
}

} // namespace
} // namespace vlh::test
