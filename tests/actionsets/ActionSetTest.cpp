// Loading Sets: the layout's rules, the model it builds, merging and lookups.
#include <gtest/gtest.h>

#include <climits>

#include "tests/actionsets/TestStreams.h"

namespace vlh::test {
namespace {

using vtools::EffectModel;
using vtools::EventModel;
using vtools::SetModel;
using vtools::UnicodeText;

TEST(LoadActionSet, ReadsTheNamesAndEventsOfSetAndEffect) {
    SetModel model = SetModel::Named("Capture");
    EffectModel effect = EffectModel::Named("Portrait");
    EventModel event = EventModel::Named("gaussianBlur");
    event.displayName = vtools::ByteText::Of("Gaussian Blur");
    event.enabled = 0;
    event.withDialog = 7; // any non-zero byte is true
    event.dialogOptions = 0xC3;
    effect.events.push_back(event);
    model.effects.push_back(effect);

    const Loaded loaded = LoadModel(model);
    ASSERT_TRUE(loaded.ok) << loaded.diagnostics.what;
    const ActionSet& set = *loaded.set;
    EXPECT_EQ(set.name, "Capture");
    ASSERT_EQ(set.effects.size(), 1u);
    const Effect& e = *set.effects[0];
    EXPECT_EQ(e.name, "Portrait");
    ASSERT_EQ(e.events.size(), 1u);
    const ActionEvent& ev = *e.events[0];
    EXPECT_EQ(ev.eventName, "gaussianBlur");
    EXPECT_EQ(ev.displayName, "Gaussian Blur");
    EXPECT_FALSE(ev.enabled);
    EXPECT_TRUE(ev.withDialog);
    EXPECT_EQ(ev.dialogOptions, 0xC3);
    EXPECT_EQ(ev.descriptor, nullptr);
    // The reader is closed after the load and stays with the Set.
    ASSERT_NE(set.reader, nullptr);
    EXPECT_FALSE(set.reader->IsOpen());
}

TEST(LoadActionSet, OnlyVersion16IsRead) {
    for (int32_t version : {15, 16, 17, 0, -16, 0x10000010}) {
        SCOPED_TRACE(version);
        SetModel model = SetWithEvents({EventModel::Named("invert")});
        model.version = version;
        const Loaded loaded = LoadModel(model);
        EXPECT_EQ(loaded.ok, version == 16);
        EXPECT_EQ(loaded.set->effects.empty(), version != 16);
    }
}

TEST(LoadActionSet, ATrailingAtnExtensionIsRemovedFromLongerNames) {
    const struct {
        const char* stored;
        const char* listed;
    } rows[] = {
        {"Sharp.atn", "Sharp"},       {".atn", ".atn"},           {"Sharp.ATN.atn", "Sharp.ATN"},
        {"Sharp.Atn", "Sharp"},       {"Sharp.aTn", "Sharp"},     {"x.ATN", "x"},
        {"Sharp.atnx", "Sharp.atnx"}, {"Sharp_atn", "Sharp_atn"}, {"Sharp.at", "Sharp.at"},
        {"Sharp.abn", "Sharp.abn"},   {"Sharp.", "Sharp."},       {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        const Loaded loaded = LoadModel(SetModel::Named(row.stored));
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(loaded.set->name, row.listed);
    }
}

TEST(LoadActionSet, TheDescriptorFlagIsMinusOneOrZero) {
    const auto body = OneItem(vtools::ValueModel::Integer(5));
    const struct {
        int32_t flag;
        bool withBody;
        bool loads;
    } rows[] = {
        {-1, true, true},
        {0, false, true},
        {1, false, false},
        {-2, true, false},
        {INT32_MAX, true, false},
        // A flag of 0 followed by descriptor bytes: they are never read.
        {0, true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.flag);
        EventModel event = EventModel::Named("set");
        if (row.withBody) {
            event.descriptor = body;
        }
        event.descriptorFlag = row.flag;
        const Loaded loaded = LoadModel(SetWithEvents({event}));
        ASSERT_EQ(loaded.ok, row.loads);
        if (loaded.ok) {
            EXPECT_EQ(loaded.set->effects[0]->events[0]->descriptor != nullptr, row.flag == -1);
        }
    }
}

// ---- merging and lookups ----------------------------------------------------------

ActionSetList LoadAll(const std::vector<SetModel>& models) {
    ActionSetList sets;
    for (const SetModel& model : models) {
        Loaded loaded = LoadModel(model);
        if (loaded.ok) {
            sets.push_back(std::move(loaded.set));
        }
    }
    return sets;
}

std::vector<std::string> Names(const ActionSet& set) {
    std::vector<std::string> names;
    for (const auto& effect : set.effects) {
        names.push_back(effect->name);
    }
    return names;
}

std::vector<std::string> Names(const ActionSetList& sets) {
    std::vector<std::string> names;
    for (const auto& set : sets) {
        names.push_back(set->name);
    }
    return names;
}

TEST(MergeEqualSets, ThreeStreamsInARowAndNamesSpreadOverTheList) {
    ActionSetList sets = LoadAll({
        SetModel::Named("Basic", {EffectModel::Named("1")}),
        SetModel::Named("Basic", {EffectModel::Named("2")}),
        SetModel::Named("Basic", {EffectModel::Named("3")}),
        SetModel::Named("Other", {EffectModel::Named("o1")}),
        SetModel::Named("basic", {EffectModel::Named("lower")}),
        SetModel::Named("Basic.atn", {EffectModel::Named("4")}), // listed as Basic
        SetModel::Named("Other", {EffectModel::Named("o2")}),
    });
    MergeEqualSets(sets);
    ASSERT_EQ(Names(sets), (std::vector<std::string>{"Basic", "Other", "basic"}));
    EXPECT_EQ(Names(*sets[0]), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(Names(*sets[1]), (std::vector<std::string>{"o1", "o2"}));
    EXPECT_EQ(Names(*sets[2]), (std::vector<std::string>{"lower"}));
}

} // namespace
} // namespace vlh::test
