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

TEST(LoadActionSet, ReadsEveryFieldOfSetEffectAndEvent) {
    SetModel model = SetModel::Named("Capture");
    model.expanded = 1;
    EffectModel effect = EffectModel::Named("Portrait");
    effect.functionKey = -3;
    effect.shift = 1;
    effect.command = 0;
    effect.colour = 0x1234;
    effect.expanded = 1;
    EventModel event = EventModel::Named("gaussianBlur");
    event.displayName = vtools::ByteText::Of("Gaussian Blur");
    event.expanded = 1;
    event.enabled = 0;
    event.withDialog = 7; // any non-zero byte is true
    event.dialogOptions = 0xC3;
    effect.events.push_back(event);
    model.effects.push_back(effect);

    const Loaded loaded = LoadModel(model);
    ASSERT_TRUE(loaded.ok) << loaded.diagnostics.what;
    const ActionSet& set = *loaded.set;
    EXPECT_EQ(set.name, "Capture");
    EXPECT_TRUE(set.expanded);
    ASSERT_EQ(set.effects.size(), 1u);
    const Effect& e = *set.effects[0];
    EXPECT_EQ(e.name, "Portrait");
    EXPECT_EQ(e.functionKeyIndex, -3);
    EXPECT_TRUE(e.shift);
    EXPECT_FALSE(e.command);
    EXPECT_EQ(e.colourIndex, 0x1234);
    EXPECT_TRUE(e.expanded);
    ASSERT_EQ(e.events.size(), 1u);
    const ActionEvent& ev = *e.events[0];
    EXPECT_EQ(ev.eventName, "gaussianBlur");
    EXPECT_EQ(ev.displayName, "Gaussian Blur");
    EXPECT_TRUE(ev.expanded);
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
        if (version != 16) {
            EXPECT_EQ(loaded.diagnostics.what, "version " + std::to_string(version) + " is not 16");
            EXPECT_EQ(loaded.diagnostics.plainOffset, 0u);
            EXPECT_TRUE(loaded.set->effects.empty());
        }
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

TEST(LoadActionSet, ZeroOrNegativeCountsMeanNoneAndStillLoad) {
    for (int32_t count : {0, -1, INT32_MIN}) {
        SCOPED_TRACE(count);
        // The Effects written after a count of none are never looked at.
        SetModel model = SetWithEvents({EventModel::Named("invert")});
        model.effectCount = count;
        Loaded loaded = LoadModel(model);
        ASSERT_TRUE(loaded.ok);
        EXPECT_TRUE(loaded.set->effects.empty());

        model = SetWithEvents({EventModel::Named("invert")});
        model.effects[0].eventCount = count;
        loaded = LoadModel(model);
        ASSERT_TRUE(loaded.ok);
        ASSERT_EQ(loaded.set->effects.size(), 1u);
        EXPECT_TRUE(loaded.set->effects[0]->events.empty());
    }
}

TEST(LoadActionSet, CountsAboveTheContentFailAndKeepWhatWasRead) {
    SetModel model = SetWithEvents({EventModel::Named("invert")});
    model.effects[0].eventCount = 2;
    Loaded loaded = LoadModel(model);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.diagnostics.what, "the data ends before the field it promises");
    // Appended before being read: the second event is owned by the Set.
    ASSERT_EQ(loaded.set->effects.size(), 1u);
    EXPECT_EQ(loaded.set->effects[0]->events.size(), 2u);
    EXPECT_EQ(loaded.set->effects[0]->events[0]->eventName, "invert");
    EXPECT_FALSE(loaded.set->reader->IsOpen());

    model = SetWithEvents({});
    model.effectCount = 3;
    loaded = LoadModel(model);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.set->effects.size(), 2u);
}

TEST(LoadActionSet, AnEventMustNameItsEventByText) {
    for (const char* kind : {"TEXT", "long", "text", "TEX ", "Enmr"}) {
        SCOPED_TRACE(kind);
        EventModel event = EventModel::Named("invert");
        event.identifierKind = kind;
        const Loaded loaded = LoadModel(SetWithEvents({event}));
        EXPECT_EQ(loaded.ok, std::string(kind) == "TEXT");
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
        ASSERT_EQ(loaded.ok, row.loads) << loaded.diagnostics.what;
        if (loaded.ok) {
            const auto& ev = *loaded.set->effects[0]->events[0];
            EXPECT_EQ(ev.descriptor != nullptr, row.flag == -1);
        } else {
            EXPECT_EQ(loaded.diagnostics.what,
                      "descriptor flag " + std::to_string(row.flag) + " is neither -1 nor 0");
        }
    }
}

TEST(LoadActionSet, NamesAboveU00FFKeepTheLowByte) {
    SetModel model = SetModel::Named("");
    model.name = UnicodeText{u"Sch\u00E4rfe \u0141", true, {}};
    EffectModel effect = EffectModel::Named("");
    effect.name = UnicodeText{u"\u2022 Weich", true, {}};
    model.effects.push_back(effect);
    const Loaded loaded = LoadModel(model);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.set->name, "Sch\xE4rfe A");
    EXPECT_EQ(loaded.set->effects[0]->name, "\x22 Weich");
}

TEST(LoadActionSet, NamesLongerThan255BytesAreRead) {
    const std::string longName(300, 'n');
    const Loaded loaded = LoadModel(SetModel::Named(longName, {EffectModel::Named(longName + "e")}));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.set->name, longName);
    EXPECT_EQ(loaded.set->effects[0]->name, longName + "e");
}

TEST(LoadActionSet, ASetIsLoadedOnlyOnce) {
    const Bytes stored = vtools::WriteStoredSet(SetWithEvents({EventModel::Named("invert")}));
    ActionSet set;
    ASSERT_TRUE(LoadActionSet(set, stored.data(), stored.size()));
    LoadDiagnostics diagnostics;
    EXPECT_FALSE(LoadActionSet(set, stored.data(), stored.size(), &diagnostics));
    EXPECT_EQ(set.effects.size(), 1u); // untouched
    EXPECT_EQ(diagnostics.what, "the Set has been loaded before");
}

TEST(LoadActionSet, ReportsHowFarASuccessfulLoadReached) {
    const Bytes raw = vtools::SerialiseSet(SetWithEvents({EventModel::Named("invert")}));
    Bytes withTail = raw;
    withTail.insert(withTail.end(), {1, 2, 3});
    const Loaded loaded = LoadRaw(withTail);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.diagnostics.what, "");
    EXPECT_EQ(loaded.diagnostics.plainOffset, raw.size());
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

TEST(MergeEqualSets, TwoStreamsOfOneNameGiveOneSetInStreamOrder) {
    ActionSetList sets =
        LoadAll({SetModel::Named("Basic", {EffectModel::Named("A"), EffectModel::Named("B")}),
                 SetModel::Named("Basic", {EffectModel::Named("C")})});
    MergeEqualSets(sets);
    ASSERT_EQ(Names(sets), std::vector<std::string>{"Basic"});
    EXPECT_EQ(Names(*sets[0]), (std::vector<std::string>{"A", "B", "C"}));
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

TEST(AppendEffects, MovesEveryEffectInOrderAndLeavesTheDonorEmpty) {
    ActionSetList sets = LoadAll({SetModel::Named("T", {EffectModel::Named("a")}),
                                  SetModel::Named("D", {EffectModel::Named("b"), EffectModel::Named("c")})});
    const Effect* moved = sets[1]->effects[0].get();
    AppendEffects(*sets[0], *sets[1]);
    EXPECT_EQ(Names(*sets[0]), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(sets[0]->effects[1].get(), moved);
    EXPECT_TRUE(sets[1]->effects.empty());
    sets.pop_back(); // destroying the donor leaves the moved Effects alone
    EXPECT_EQ(sets[0]->effects[1]->name, "b");
}

TEST(FindEffect, ReturnsTheEarlierOfTwoEqualNames) {
    EffectModel first = EffectModel::Named("Soft");
    first.colour = 1;
    EffectModel second = EffectModel::Named("Soft");
    second.colour = 2;
    ActionSetList sets = LoadAll({SetModel::Named("Basic", {first}), SetModel::Named("Basic", {second})});
    MergeEqualSets(sets);
    const Effect* found = FindEffect(*sets[0], "Soft");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->colourIndex, 1);
}

TEST(Lookups, CompareByteForByteWithCaseAndWithoutTrimming) {
    ActionSetList sets = LoadAll({SetModel::Named("Basic", {EffectModel::Named("Soft")}),
                                  SetModel::Named("Strong", {EffectModel::Named("Hard")})});
    EXPECT_EQ(FindSet(sets, "Basic"), sets[0].get());
    EXPECT_EQ(FindSet(sets, "Strong"), sets[1].get());
    for (const char* missing : {"basic", "BASIC", "Basic ", " Basic", "Bas", ""}) {
        EXPECT_EQ(FindSet(sets, missing), nullptr) << missing;
    }
    EXPECT_EQ(FindEffect(*sets[0], "Soft"), sets[0]->effects[0].get());
    for (const char* missing : {"soft", "Soft ", "Hard"}) {
        EXPECT_EQ(FindEffect(*sets[0], missing), nullptr) << missing;
    }
    EXPECT_EQ(FindSet({}, "Basic"), nullptr);
}

} // namespace
} // namespace vlh::test
