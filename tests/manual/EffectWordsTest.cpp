// An Effect in words, worked out from its events: each recipe shape of the
// catalogue (compiled from recipe text, read back with the module's reader)
// and the odd events a stream may hold (built by hand) give the steps, the
// layers left and the sentences a reader needs.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "actionsets/ActionSet.h"
#include "host/manual/EffectWords.h"
#include "host/manual/EventFacts.h"
#include "tools/recipec/RecipeCompiler.h"

namespace vhost::manual {
namespace {

const std::string N = "\u00a0"; // joins a number and its unit

// The Set of a recipe source compiled as the build compiles the catalogue.
std::unique_ptr<vlh::ActionSet> SetFromRecipe(const std::string& source) {
    const vtools::CompiledSet compiled = vtools::CompileRecipe(source, "test.recipe");
    auto set = std::make_unique<vlh::ActionSet>();
    vlh::LoadDiagnostics diagnostics;
    EXPECT_TRUE(vlh::LoadActionSet(*set, compiled.stored.data(), compiled.stored.size(), &diagnostics))
        << diagnostics.what;
    return set;
}

// One Effect's events in recipe text, with two more Effects to make a Set.
std::unique_ptr<vlh::ActionSet> SetOfOne(const std::string& events) {
    return SetFromRecipe("Set: Test Honers\nEffect: Under Test\n" + events +
                         "Effect: Filler One\n    invert\nEffect: Filler Two\n    desaturate\n");
}

struct Case {
    const char* what;
    std::string events;
    std::vector<std::pair<std::string, std::string>> steps;
    std::vector<std::tuple<std::string, std::string, double>> layersLeft; // top first
    bool flattened;
    std::vector<std::string> said;    // in the summary
    std::vector<std::string> notSaid; // not in it
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"rounds of the same steps, told once with their count",
         "    duplicate Nm=\"Honer Estimate\"\n"
         "    duplicate Nm=\"Honer Round\"\n"
         "    highPass Rds=1.2px\n"
         "    set Md=linearDodge Opct=50%\n"
         "    mergeLayersNew\n"
         "    duplicate Nm=\"Honer Round\"\n"
         "    highPass Rds=1.2px\n"
         "    set Md=linearDodge Opct=50%\n"
         "    mergeLayersNew\n"
         "    duplicate Nm=\"Honer Round\"\n"
         "    highPass Rds=1.2px\n"
         "    set Md=linearDodge Opct=50%\n"
         "    mergeLayersNew\n"
         "    set Md=Dfrn\n",
         {{"Duplicate layer", "as \u201cHoner Estimate\u201d"},
          {"Duplicate layer", "as \u201cHoner Round\u201d"},
          {"High pass", "radius 1.2" + N + "px"},
          {"Set layer", "blend mode linear dodge, opacity 50" + N + "%"},
          {"Merge down", "into the layer below"},
          {"Repeat", "steps 2 to 5, three times in all"},
          {"Set layer", "blend mode difference"}},
         {{"Honer Estimate", "difference", 100}},
         false,
         {"The round of the last four steps is done three times in all.", "Linear dodge adds the layer"},
         {}},
        {"a sharpened copy merged down in luminosity",
         "    duplicate Nm=\"Capture Honing\"\n"
         "    unsharpMask Amnt=140% Rds=0.5px Thsh=2\n"
         "    set Md=Lmns\n"
         "    mergeLayersNew\n",
         {{"Duplicate layer", "as \u201cCapture Honing\u201d"},
          {"Unsharp mask", "amount 140" + N + "%, radius 0.5" + N + "px, threshold 2" + N + "levels"},
          {"Set layer", "blend mode luminosity"},
          {"Merge down", "into the layer below"}},
         {},
         false,
         {"The layer is copied as \u201cCapture Honing\u201d, which is then sharpened with an unsharp mask "
          "(140" +
              N + "%, 0.5" + N + "px, threshold 2" + N +
              "levels), blended in luminosity mode and merged down into the layer.",
          "Luminosity blending", "keeps the layers it had"},
         {"It leaves", "Darken"}},
        {"dark and light halos left on two layers",
         "    duplicate Nm=\"Capture Light Halos\"\n"
         "    duplicate Nm=\"Capture Dark Halos\"\n"
         "    unsharpMask Amnt=140% Rds=0.5px Thsh=2\n"
         "    set Md=Drkn Opct=100%\n"
         "    select null=Bckw\n"
         "    unsharpMask Amnt=140% Rds=0.5px Thsh=2\n"
         "    set Md=Lghn Opct=60%\n",
         {{"Duplicate layer", "as \u201cCapture Light Halos\u201d"},
          {"Duplicate layer", "as \u201cCapture Dark Halos\u201d"},
          {"Unsharp mask", "amount 140" + N + "%, radius 0.5" + N + "px, threshold 2" + N + "levels"},
          {"Set layer", "blend mode darken, opacity 100" + N + "%"},
          {"Select layer", "the layer below"},
          {"Unsharp mask", "amount 140" + N + "%, radius 0.5" + N + "px, threshold 2" + N + "levels"},
          {"Set layer", "blend mode lighten, opacity 60" + N + "%"}},
         {{"Capture Dark Halos", "darken", 100}, {"Capture Light Halos", "lighten", 60}},
         false,
         {"The layer is copied as \u201cCapture Light Halos\u201d, which is then copied as \u201cCapture "
          "Dark "
          "Halos\u201d.",
          "\u201cCapture Dark Halos\u201d is sharpened with an unsharp mask",
          "\u201cCapture Light Halos\u201d is sharpened the same way and blended in lighten mode at 60" + N +
              "% opacity.",
          "Darken mode", "Lighten mode", "It leaves two layers above the layer it ran on"},
         {"merged"}},
        {"a grey high-pass layer in soft light",
         "    duplicate Nm=\"High Pass Detail\"\n"
         "    desaturate\n"
         "    highPass Rds=1.5px\n"
         "    set Md=SftL Opct=80%\n",
         {{"Duplicate layer", "as \u201cHigh Pass Detail\u201d"},
          {"Desaturate", ""},
          {"High pass", "radius 1.5" + N + "px"},
          {"Set layer", "blend mode soft light, opacity 80" + N + "%"}},
         {{"High Pass Detail", "soft light", 80}},
         false,
         {"turned grey, filtered with a high pass of 1.5" + N + "px and blended in soft light mode at 80" +
              N + "% opacity.",
          "Soft light",
          "It leaves one layer above the layer it ran on, \u201cHigh Pass Detail\u201d (soft light, 80" + N +
              "%), to tune with its opacity"},
         {}},
    };
    return cases;
}

TEST(EffectWords, EachRecipeShapeGivesItsStepsLayersAndSentences) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        const auto set = SetOfOne(c.events);
        ASSERT_EQ(3u, set->effects.size());
        const EffectWords words = DescribeEffect(*set->effects[0]);

        std::vector<std::pair<std::string, std::string>> steps;
        for (const StepLine& step : words.steps) {
            steps.emplace_back(step.title, step.parameters);
        }
        EXPECT_EQ(c.steps, steps);
        std::vector<std::tuple<std::string, std::string, double>> left;
        for (const LayerLeft& layer : words.layersLeft) {
            left.emplace_back(layer.name, layer.mode, layer.opacity);
        }
        EXPECT_EQ(c.layersLeft, left);
        EXPECT_EQ(c.flattened, words.flattened);
        for (const std::string& said : c.said) {
            EXPECT_NE(std::string::npos, words.summary.find(said))
                << "missing: " << said << "\nin: " << words.summary;
        }
        for (const std::string& notSaid : c.notSaid) {
            EXPECT_EQ(std::string::npos, words.summary.find(notSaid))
                << "unwanted: " << notSaid << "\nin: " << words.summary;
        }
    }
}

// ---- events a stream may hold that no recipe of ours records -----------------

std::unique_ptr<vlh::ActionEvent> Event(const std::string& id, const std::string& display) {
    auto event = std::make_unique<vlh::ActionEvent>();
    event->eventName = id;
    event->displayName = display;
    event->descriptor = std::make_unique<vlh::DescriptorBody>();
    event->descriptor->classID = "null";
    return event;
}

template <typename Item>
Item& Add(vlh::DescriptorBody& body, const std::string& key) {
    auto item = std::make_unique<Item>();
    item->key = key;
    Item& added = *item;
    body.items.push_back(std::move(item));
    return added;
}

void AddUnit(vlh::DescriptorBody& body, const std::string& key, const std::string& unit, double value) {
    auto& item = Add<vlh::UnitDoubleItem>(body, key);
    item.unit = unit;
    item.value = value;
}

vlh::Effect EffectOf(std::vector<std::unique_ptr<vlh::ActionEvent>> events) {
    vlh::Effect effect;
    effect.name = "Odd";
    effect.events = std::move(events);
    return effect;
}

TEST(EffectWords, AnEventOfNoKnownKindIsNamedWithEverythingRecorded) {
    auto blur = Event("motionBlur", "Motion Blur");
    Add<vlh::IntegerItem>(*blur->descriptor, "Angl").value = 45;
    AddUnit(*blur->descriptor, "Dstn", "#Pxl", 10);
    std::vector<std::unique_ptr<vlh::ActionEvent>> events;
    events.push_back(std::move(blur));
    const EffectWords words = DescribeEffect(EffectOf(std::move(events)));
    ASSERT_EQ(1u, words.steps.size());
    EXPECT_EQ("Motion Blur", words.steps[0].title);
    EXPECT_EQ("'Angl' 45, 'Dstn' 10 #Pxl", words.steps[0].parameters);
    EXPECT_NE(std::string::npos, words.summary.find("The event \u201cMotion Blur\u201d is played."))
        << words.summary;
    EXPECT_TRUE(words.layersLeft.empty());
}

// ---- a Set in one line ----------------------------------------------------------

TEST(SetWords, TheRangeOfEachParameterOverTheSetsEffects) {
    const auto set = SetFromRecipe("Set: Mixed\n"
                                   "Effect: One\n    unsharpMask Amnt=70% Rds=1.8px Thsh=6\n"
                                   "Effect: Two\n    unsharpMask Amnt=150% Rds=0.4px Thsh=2\n"
                                   "    set Md=Drkn Opct=40%\n"
                                   "Effect: Three\n    highPass Rds=3px\n    set Opct=100%\n");
    EXPECT_EQ("3 Effects. Unsharp mask: amount 70 to 150" + N + "%, radius 0.4 to 1.8" + N +
                  "px, threshold 2 to 6" + N + "levels. High pass: radius 3" + N +
                  "px. Layer opacity 40 to 100" + N + "%.",
              DescribeSet(*set));
    const auto plain = SetFromRecipe("Set: Plain\n"
                                     "Effect: One\n    invert\n"
                                     "Effect: Two\n    unsharpMask Amnt=50% Rds=1px Thsh=1\n"
                                     "Effect: Three\n    unsharpMask Amnt=50% Rds=2px Thsh=1\n");
    EXPECT_EQ("3 Effects. Unsharp mask: amount 50" + N + "%, radius 1 to 2" + N + "px, threshold 1" + N +
                  "level.",
              DescribeSet(*plain));
}

} // namespace
} // namespace vhost::manual
