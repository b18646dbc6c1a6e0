// The catalogue the module ships: every stored Set of every plug-in loads,
// the Sets offered hold enough distinct Effects, each plug-in's recipes leave
// the document's layers as that plug-in promises, and the embedded bytes are
// exactly what the recipe sources compile to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "catalogue/Catalogue.h"
#include "tests/catalogue/HostFixture.h"
#include "tests/catalogue/LayerEffects.h"
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

    template <typename Check>
    void ForEachEffect(const char* plugin, Check check) {
        for (const auto& set : Offered(plugin).sets) {
            for (const auto& effect : set->effects) {
                SCOPED_TRACE(std::string(plugin) + " / " + set->name + " / " + effect->name);
                check(*set, *effect);
            }
        }
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

TEST_F(RealCatalogueTest, EverySetOfferedHasAtLeastThreeDistinctEffectsWithNamesThatFit) {
    for (const char* plugin : {kCapture, kCreative, kOutput, kExpert}) {
        std::set<std::string> setNames;
        for (const auto& set : Offered(plugin).sets) {
            SCOPED_TRACE(std::string(plugin) + " / " + set->name);
            EXPECT_TRUE(setNames.insert(set->name).second);
            EXPECT_GE(set->effects.size(), 3u);
            EXPECT_LE(set->name.size(), 255u);
            std::set<std::string> effectNames;
            std::map<std::string, std::string> recipes;
            for (const auto& effect : set->effects) {
                EXPECT_LE(effect->name.size(), 255u);
                EXPECT_TRUE(effectNames.insert(effect->name).second)
                    << "Effect named twice: " << effect->name;
                const auto [earlier, fresh] = recipes.emplace(RecipeSignature(*effect), effect->name);
                EXPECT_TRUE(fresh) << effect->name << " repeats the recipe of " << earlier->second;
            }
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

TEST_F(RealCatalogueTest, CaptureAndOutputSharpenLuminosityAndMergeBack) {
    for (const char* plugin : {kCapture, kOutput}) {
        ForEachEffect(plugin, [](const ActionSet&, const Effect& effect) {
            const LayerOutcome outcome = SimulateLayers(effect);
            EXPECT_EQ("", outcome.fault);
            EXPECT_EQ(1u, outcome.layers.size()) << "the document's layers change";
            // Copies may be merged into each other on the way (a restoring
            // recipe's rounds), but what reaches the image comes in luminosity.
            ASSERT_FALSE(outcome.mergedModes.empty());
            EXPECT_EQ("Lmns", outcome.mergedModes.back()) << "the result merged in another mode than luminosity";
        });
    }
}

TEST_F(RealCatalogueTest, ExpertLeavesDarkAndLightHaloLayersWithLessForTheLightOnes) {
    ForEachEffect(kExpert, [](const ActionSet&, const Effect& effect) {
        const LayerOutcome outcome = SimulateLayers(effect);
        EXPECT_EQ("", outcome.fault);
        ASSERT_EQ(3u, outcome.layers.size()) << "two layers to tune above the document's own";
        const LayerState& lower = outcome.layers[1];
        const LayerState& upper = outcome.layers[2];
        EXPECT_EQ("Lghn", lower.mode);
        EXPECT_EQ("Drkn", upper.mode);
        EXPECT_LT(lower.opacity, upper.opacity);
        EXPECT_NE(lower.name, upper.name);
    });
}

TEST_F(RealCatalogueTest, CreativeLeavesOneNamedLayerToTune) {
    ForEachEffect(kCreative, [](const ActionSet&, const Effect& effect) {
        const LayerOutcome outcome = SimulateLayers(effect);
        EXPECT_EQ("", outcome.fault);
        ASSERT_EQ(2u, outcome.layers.size());
        EXPECT_NE("Background", outcome.layers[1].name);
    });
}

TEST_F(RealCatalogueTest, CaptureAndExpertOfferTheSameSourcesWithTheSameSharpening) {
    std::map<std::string, double> captureRadius;
    ForEachEffect(kCapture, [&](const ActionSet& set, const Effect& effect) {
        captureRadius[set.name + " / " + effect.name] = FirstRadius(effect);
    });
    std::map<std::string, double> expertRadius;
    ForEachEffect(kExpert, [&](const ActionSet& set, const Effect& effect) {
        expertRadius[set.name + " / " + effect.name] = FirstRadius(effect);
    });
    EXPECT_EQ(captureRadius, expertRadius);
}

// Print Effects name their output resolution ("Matte Paper, 300 ppi"); within
// one medium the radius must grow with it, and stay near the field's rule of
// a radius between ppi/400 and ppi/100.
TEST_F(RealCatalogueTest, OutputRadiusFollowsTheOutputResolution) {
    const std::regex ppi(R"((\d+) ppi)");
    std::map<std::string, std::map<double, double>> radiusByMedium; // medium -> ppi -> radius
    ForEachEffect(kOutput, [&](const ActionSet& set, const Effect& effect) {
        std::smatch match;
        if (!std::regex_search(effect.name, match, ppi)) {
            return;
        }
        const double resolution = std::stod(match[1]);
        const double radius = FirstRadius(effect);
        EXPECT_GE(radius, resolution / 400);
        EXPECT_LE(radius, resolution / 100);
        const std::string medium = set.name + " / " + effect.name.substr(0, effect.name.find(','));
        radiusByMedium[medium][resolution] = radius;
    });
    EXPECT_GE(radiusByMedium.size(), 8u);
    for (const auto& [medium, byResolution] : radiusByMedium) {
        double previous = 0;
        for (const auto& [resolution, radius] : byResolution) {
            EXPECT_GT(radius, previous) << medium << " at " << resolution << " ppi";
            previous = radius;
        }
    }
}

TEST_F(RealCatalogueTest, CaptureNeverOffersTheExpertsStoredSets) {
    size_t capture = 0;
    ForEachEffect(kCapture, [&](const ActionSet&, const Effect&) { ++capture; });
    size_t stored = 0;
    const PluginRecord& record = PluginRecords()[0];
    for (int32_t i = 0; i < record.storedSetCount; ++i) {
        ActionSet set;
        ASSERT_TRUE(LoadActionSet(set, record.storedSets[i].bytes, record.storedSets[i].size));
        stored += set.effects.size();
    }
    EXPECT_EQ(stored, capture);
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
