// Whole runs of the real module in the Windows host under wine, replayed from
// scripting parameters as a recorded action replays them: what is played, the
// one history state, the descriptor handed back, and the stored parameters
// the run leaves in the registry.
#include "windows/tests/WindowsHostFixture.h"
#include "windows/tests/WineSupport.h"

#include "host/core/ResultText.h"
#include "hostapi/FourCharCode.h"

#include <string>

namespace vhost::wintest {
namespace {

std::string TextOf(const std::optional<Descriptor>& d, const char (&key)[5]) {
    const Value* v = d ? d->Find(vlh::FourCC(key)) : nullptr;
    return v != nullptr && v->Type() == type::kText ? v->Text() : "<none>";
}

// A stored text value as the module writes it: REG_SZ with its zero.
std::string StoredText(const std::string& plugin, const char* name) {
    const std::optional<RegistryValue> v = ReadRegistryValue(HKEY_CURRENT_USER, ParametersKey(plugin), name);
    if (!v) {
        return "<none>";
    }
    if (v->type != REG_SZ || v->bytes.empty() || v->bytes.back() != 0) {
        return "<not a terminated REG_SZ>";
    }
    return std::string(v->bytes.begin(), v->bytes.end() - 1);
}

std::string WithoutEllipsis(const std::string& menuName) {
    return menuName.substr(0, menuName.size() - 3);
}

class ReplayedRun : public WindowsHostTest {};

TEST_F(ReplayedRun, EveryPluginPlaysItsEffectAsOneHistoryStateAndHandsTheChoiceBack) {
    for (const Choice& c : ShippedChoices()) {
        SCOPED_TRACE(c.menuName);
        host.ActiveDocument()->history.clear();
        host.Events().Clear();
        const DoItResult r = DoIt(c.menuName, ReplayRequest(c.set, c.effect));
        ASSERT_EQ(0, r.result) << ResultText(r.result);
        EXPECT_EQ(std::vector<std::string>{c.effect}, host.ActiveDocument()->history);
        ASSERT_EQ(1u, host.Events().Histories().size());
        EXPECT_TRUE(host.Events().Histories().front().added);
        EXPECT_FALSE(host.Events().Plays().empty());
        for (const PlayRecord& play : host.Events().Plays()) {
            EXPECT_EQ(0, play.result) << play.stringID;
        }
        EXPECT_EQ(c.set, TextOf(r.descriptor, "VlSt"));
        EXPECT_EQ(c.effect, TextOf(r.descriptor, "VlAc"));
        // Remembered for the user, in the registry.
        EXPECT_EQ(c.set, StoredText(WithoutEllipsis(c.menuName), "Set"));
        EXPECT_EQ(c.effect, StoredText(WithoutEllipsis(c.menuName), "Action"));
    }
}

TEST_F(ReplayedRun, APlaybackFailureLeavesTheStoredPairAsItWas) {
    const Choice& capture = ShippedChoices()[0];
    ASSERT_EQ(0, DoIt(capture.menuName, ReplayRequest(capture.set, capture.effect)).result);
    host.ActiveDocument()->history.clear();
    host.Calls().Clear();
    constexpr int16_t kEventNotAvailable = -25920;
    host.FaultPlan().FailOnCall("Control.Play", 2, kEventNotAvailable);
    const DoItResult r = DoIt(capture.menuName, ReplayRequest(capture.set, "Smartphone Raw"));
    EXPECT_EQ(kEventNotAvailable, r.result) << ResultText(r.result);
    EXPECT_EQ(std::vector<std::string>{"Control.Play #2"}, host.FaultPlan().Fired());
    EXPECT_TRUE(host.ActiveDocument()->history.empty());
    EXPECT_EQ(capture.effect, StoredText("Vellicor Capture Honer", "Action"));
}

} // namespace
} // namespace vhost::wintest
