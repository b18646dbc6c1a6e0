// The colour-settings guard as the host sees it: which events are played
// around the Effect, with which settings, and what the settings are after.
#include "tests/run/RunFixture.h"

#include "hostapi/FourCharCode.h"

namespace vhost::e2e {
namespace {

using vlh::FourCC;

class ColourGuard : public RunTest {
protected:
    // The stored events of the Effect every case plays.
    std::vector<std::string> Effect() const {
        return StoredEventNames("Vellicor Output Honer", kInkjet, kGlossy300);
    }
    static std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    // The colour-settings object a played "set" carries, or none.
    const Descriptor* SettingsOf(const PlayRecord& play) {
        const Value* to = play.descriptor ? play.descriptor->Find(FourCC("T   ")) : nullptr;
        return to != nullptr && to->Type() == type::kObject ? &to->Object() : nullptr;
    }
    std::vector<bool> Warnings(const Descriptor& settings) {
        std::vector<bool> flags;
        for (const char* term : {"askMismatchOpening", "askMismatchPasting", "askMissing"}) {
            const Value* v = settings.Find(host.Terms().ToTypeID(term).value());
            EXPECT_TRUE(v != nullptr && v->Type() == type::kBoolean) << term;
            flags.push_back(v != nullptr && v->Flag());
        }
        return flags;
    }
};

TEST_F(ColourGuard, NamedSettingsAreSwitchedOffAndSelectedAgainAfterwards) {
    ASSERT_TRUE(host.App().SelectColourPreset("Prepress Standard"));
    const ColourSettings before = host.App().colour;
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);

    EXPECT_EQ(Join(Join({"purge", "set"}, Effect()), {"set"}), Played());
    const auto& plays = host.Events().Plays();
    const Descriptor* off = SettingsOf(plays[1]);
    ASSERT_NE(nullptr, off);
    EXPECT_EQ((std::vector<bool>{false, false, false}), Warnings(*off));
    const Descriptor* again = SettingsOf(plays.back());
    ASSERT_NE(nullptr, again);
    ASSERT_TRUE(again->Has(FourCC("Nm  ")));
    EXPECT_EQ("Prepress Standard", again->Find(FourCC("Nm  "))->Text());
    EXPECT_EQ(before, host.App().colour);
    // The guard's own events never ask for a host dialog.
    for (const PlayRecord* play : {&plays[0], &plays[1], &plays.back()}) {
        EXPECT_EQ(plugInDialogSilent, play->options) << play->dump;
    }
}

TEST_F(ColourGuard, CustomWarningsAreRestoredExactly) {
    host.App().SetProfileWarnings(true, false, true);
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    EXPECT_EQ(Join(Join({"purge", "set"}, Effect()), {"set"}), Played());
    const Descriptor* restored = SettingsOf(host.Events().Plays().back());
    ASSERT_NE(nullptr, restored);
    EXPECT_EQ((std::vector<bool>{true, false, true}), Warnings(*restored));
    EXPECT_EQ((ColourSettings{"Custom", true, false, true}), host.App().colour);
}

// A failure part-way through reading the warnings: those read before it are
// restored afterwards, those after it count as off.
TEST_F(ColourGuard, AFailureReadingTheWarningsKeepsWhatWasReadBeforeIt) {
    host.App().SetProfileWarnings(true, true, true);
    host.FaultPlan().FailOnCall("Descriptor.GetBoolean", 2, -25920);
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    EXPECT_EQ(Join(Join({"purge", "set"}, Effect()), {"set"}), Played());
    EXPECT_EQ((ColourSettings{"Custom", true, false, false}), host.App().colour);
}

TEST_F(ColourGuard, CustomSettingsWithEveryWarningOffAreLeftAlone) {
    host.App().SetProfileWarnings(false, false, false);
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    EXPECT_EQ(Join({"purge"}, Effect()), Played());
}

TEST_F(ColourGuard, UnreadableSettingsCountAsCustomAndTheClipboardIsStillPurged) {
    host.App().SelectColourPreset("Prepress Standard");
    host.App().clipboardFull = true;
    host.RemoveProperty(FourCC("capp"), host.Terms().ToTypeID("colorSettings").value());
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    EXPECT_EQ(Join({"purge"}, Effect()), Played());
    EXPECT_FALSE(host.App().clipboardFull);
    EXPECT_EQ("Prepress Standard", host.App().colour.name);
}

TEST_F(ColourGuard, TheSettingsComeBackAfterAFailedPlayback) {
    ASSERT_TRUE(host.App().SelectColourPreset("Monitor Colour"));
    const ColourSettings before = host.App().colour;
    // Plays: purge, set (warnings off), then the Effect's first event.
    host.FaultPlan().FailOnCall("Control.Play", 3, -25923);
    EXPECT_EQ(-25923, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    EXPECT_EQ("set", Played().back());
    EXPECT_EQ(before, host.App().colour);
}

// A name too long for the guard's buffer is not read, so the settings count
// as custom; with every warning read as off nothing is written.
TEST_F(ColourGuard, AnOverlongSettingsNameIsNotRead) {
    Descriptor settings;
    settings.Put(FourCC("Nm  "), Value::String(std::string(256, 'n')));
    const uint32_t colorSettings = host.Terms().ToTypeID("colorSettings").value();
    host.OverrideProperty(FourCC("capp"), colorSettings, Value::Object(colorSettings, settings));
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    EXPECT_EQ(Join({"purge"}, Effect()), Played());
}

} // namespace
} // namespace vhost::e2e
