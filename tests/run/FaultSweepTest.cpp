// Every host call of a whole successful run, made to fail one at a time.
//
// The run: the Output plug-in replays an Effect of several events with named
// colour settings selected and a Set and Effect stored by an earlier run. Its
// call log names every (routine, n-th call of that routine) the module makes;
// for each of them a fresh host repeats the run with exactly that call
// failing, and the outcome must be sound: the module answers, the host holds
// nothing of the module's but what it refused to free, the stored pair is the
// earlier one or the complete new one, a failed run leaves no history state,
// and a run that reports success either did everything or nothing at all.
#include "tests/run/RunFixture.h"

#include "host/core/ResultText.h"
#include "hostapi/FourCharCode.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vhost::e2e {
namespace {

using vlh::FourCC;

constexpr const char* kOutputName = "Vellicor Output Honer";
constexpr const char* kNamedSettings = "Prepress Standard";
// A code no routine answers of itself, so a result can be traced to it.
constexpr int32_t kInjected = -25941;

struct Choice {
    std::string set;
    std::string effect;
    bool operator==(const Choice&) const = default;
};

const Choice kEarlier{"Web and Multimedia Honers", "Small Web Images, up to 800 pixels"};
const Choice kAsked{"Inkjet Output Honers", "Glossy and Lustre Paper, 300 ppi"};

// Where in the run a call is made, read from the run that does not fail.
enum class Stage {
    Dispatch, // comparing the caller and selector
    Fitness,  // the document's depth and the host's name
    Run,      // suites, the plug-in's name, parameters, loading the Sets, the history state
    Purge,    // the clipboard purge
    Guard,    // reading, switching off and restoring the colour settings
    Effect,   // converting and playing the Effect's events
    HandBack, // making the descriptor that hands the choice back
    Freeing,  // a free or release, in any stage
};

const char* StageName(Stage stage) {
    switch (stage) {
    case Stage::Dispatch:
        return "dispatch";
    case Stage::Fitness:
        return "fitness";
    case Stage::Run:
        return "run";
    case Stage::Purge:
        return "purge";
    case Stage::Guard:
        return "colour settings";
    case Stage::Effect:
        return "effect";
    case Stage::HandBack:
        return "hand back";
    case Stage::Freeing:
        return "freeing";
    }
    return "?";
}

bool IsFreeing(const std::string& routine) {
    static const std::set<std::string> freeing = {"Descriptor.Free", "Reference.Free",     "List.Free",
                                                  "ZString.Release", "Basic.ReleaseSuite", "Basic.FreeBlock"};
    return freeing.count(routine) != 0;
}

// Failures the module ignores by design, so that the run still succeeds:
// every free, the clipboard purge, the colour settings, and the two fitness
// reads (an unreadable depth counts as 0, an unreadable host name as empty).
bool IgnoredByDesign(Stage stage) {
    return stage == Stage::Freeing || stage == Stage::Purge || stage == Stage::Guard ||
           stage == Stage::Fitness;
}

enum class PlayKind { Purge, ColourSettings, Effect };

struct FailurePoint {
    std::string routine;
    uint64_t index = 0; // the routine's n-th call
    std::string detail; // as the run that does not fail logged it
    Stage stage = Stage::Run;
};

std::string Describe(const FailurePoint& p) {
    return p.routine + " #" + std::to_string(p.index) + " [" + StageName(p.stage) + "] " + p.detail;
}

// What one run left behind.
struct Outcome {
    SPErr result = 0;
    bool fired = false;
    std::vector<std::string> history;
    size_t plays = 0;
    std::optional<Choice> returned; // what the parameters hold afterwards
    PIDialogRecordOptions recordInfo = plugInDialogOptional;
    Choice stored;
    ColourSettings colour;
    std::vector<std::string> liveObjects;
    std::vector<std::string> unreleasedSuites;
    size_t violations = 0;
    std::string report;
};

// The Set and Effect the Output plug-in remembers for this user.
Choice StoredChoice() {
    const auto [set, effect] = RememberedChoice(kOutputName);
    return {set, effect};
}

std::optional<Choice> ChoiceIn(const std::optional<Descriptor>& d) {
    const Value* set = d ? d->Find(FourCC("VlSt")) : nullptr;
    const Value* effect = d ? d->Find(FourCC("VlAc")) : nullptr;
    if (set == nullptr || effect == nullptr || set->Type() != type::kText || effect->Type() != type::kText) {
        return std::nullopt;
    }
    return Choice{set->Text(), effect->Text()};
}

DoItRequest Replay(const Choice& choice) {
    DoItRequest request;
    request.playInfo = plugInDialogDontDisplay;
    request.descriptor.emplace();
    request.descriptor->Put(FourCC("VlSt"), Value::String(choice.set));
    request.descriptor->Put(FourCC("VlAc"), Value::String(choice.effect));
    return request;
}

PlayKind KindOf(Host& host, const PlayRecord& play) {
    if (play.stringID == "purge") {
        return PlayKind::Purge;
    }
    const Value* target = play.descriptor ? play.descriptor->Find(FourCC("null")) : nullptr;
    if (play.stringID == "set" && target != nullptr && target->Type() == type::kReference) {
        const auto& forms = target->ReferenceValue().Forms();
        if (!forms.empty() && forms.front().code == host.Terms().ToTypeID("colorSettings").value_or(0)) {
            return PlayKind::ColourSettings;
        }
    }
    return PlayKind::Effect;
}

// Every call of the run that does not fail, with the stage it belongs to. A
// stage that a Play ends (purge, switching the warnings off, the Effect's last
// event, restoring) ends after the frees that follow the Play.
std::vector<FailurePoint> FailurePoints(const std::vector<CallRecord>& log,
                                        const std::vector<PlayKind>& plays) {
    size_t effectPlays = 0;
    for (PlayKind kind : plays) {
        effectPlays += kind == PlayKind::Effect ? 1 : 0;
    }
    std::vector<FailurePoint> points;
    Stage stage = Stage::Run;
    std::optional<Stage> next; // begins at the next call that frees nothing
    size_t play = 0;
    size_t effectPlayed = 0;
    bool suspended = false;
    for (const CallRecord& call : log) {
        if (next && !IsFreeing(call.routine)) {
            stage = *next;
            next.reset();
        }
        Stage own = stage;
        if (call.routine == "Basic.IsEqual") {
            own = Stage::Dispatch;
            next = Stage::Fitness;
        } else if (call.routine == "UIHooks.GetPluginName") {
            own = stage = Stage::Run;
        } else if (call.routine == "Control.SuspendHistory") {
            suspended = true;
            next = Stage::Purge;
        } else if (call.routine == "Control.Play" && play < plays.size()) {
            switch (plays[play++]) {
            case PlayKind::Purge:
                next = Stage::Guard;
                break;
            case PlayKind::ColourSettings:
                next = effectPlayed == 0 ? Stage::Effect : Stage::Run;
                break;
            case PlayKind::Effect:
                if (++effectPlayed == effectPlays) {
                    next = Stage::Guard;
                }
                break;
            }
        } else if (stage == Stage::Run && !suspended && call.routine == "Descriptor.Make") {
            // The only descriptor the run itself makes is the one handed back.
            own = stage = Stage::HandBack;
        } else if (stage == Stage::HandBack && call.routine != "Descriptor.PutString") {
            own = stage = Stage::Run;
        }
        points.push_back(
            {call.routine, call.routineIndex, call.detail, IsFreeing(call.routine) ? Stage::Freeing : own});
    }
    return points;
}

class FaultSweep : public ::testing::Test {
protected:
    // One run in a fresh host: an earlier successful run leaves kEarlier
    // stored, then the call counts start afresh, the fault (if any) is
    // planned and kAsked is replayed. log and plays receive the call log and
    // the kinds of the played events.
    Outcome RunOnce(const std::optional<FailurePoint>& fault, std::vector<CallRecord>* log = nullptr,
                    std::vector<PlayKind>* plays = nullptr) {
        Outcome o;
        Host host;
        std::string error;
        RegisterHoner(host, error);
        PluginRecord* output = host.FindPlugin(kOutputMenu);
        if (output == nullptr) {
            ADD_FAILURE() << "the module cannot be registered: " << error;
            return o;
        }
        host.OpenDocument(SmallRgbDocument());
        host.App().SelectColourPreset(kNamedSettings);
        EXPECT_EQ(0, host.DoIt(*output, Replay(kEarlier)).result) << "the earlier run failed";
        host.ActiveDocument()->history.clear();
        host.Events().Clear();
        host.Calls().Clear();
        host.Calls().Enable(log != nullptr);
        if (fault) {
            host.FaultPlan().FailOnCall(fault->routine, fault->index, kInjected);
        }

        const DoItResult r = host.DoIt(*output, Replay(kAsked));
        o.result = r.result;
        o.fired = !host.FaultPlan().Fired().empty();
        o.history = host.ActiveDocument()->history;
        o.plays = host.Events().Plays().size();
        o.returned = ChoiceIn(r.descriptor);
        o.recordInfo = r.recordInfo;
        o.stored = StoredChoice();
        o.colour = host.App().colour;
        o.liveObjects = host.Books().LiveObjects();
        o.unreleasedSuites = host.Books().UnreleasedSuites();
        o.violations = host.Books().Violations().size();
        o.report = host.Report();
        if (log != nullptr) {
            *log = host.Calls().Records();
        }
        if (plays != nullptr) {
            for (const PlayRecord& play : host.Events().Plays()) {
                plays->push_back(KindOf(host, play));
            }
        }
        return o;
    }

    PrivateSettingsFolder settingsFolder;
};

// The host holds nothing of the module's: after a free the host refused,
// exactly the object (or suite) it did not free, and nothing else.
void ExpectNothingLeftBut(const FailurePoint& point, const Outcome& o) {
    EXPECT_EQ(0u, o.violations) << o.report;
    if (point.stage != Stage::Freeing) {
        EXPECT_TRUE(o.report.empty()) << o.report;
        return;
    }
    if (point.routine == "Basic.ReleaseSuite") {
        EXPECT_TRUE(o.liveObjects.empty()) << o.report;
        ASSERT_EQ(1u, o.unreleasedSuites.size()) << o.report;
        return;
    }
    EXPECT_TRUE(o.unreleasedSuites.empty()) << o.report;
    ASSERT_EQ(1u, o.liveObjects.size()) << o.report;
    EXPECT_EQ(0u, o.liveObjects[0].rfind(point.detail + " ", 0)) << o.liveObjects[0];
}

TEST_F(FaultSweep, EveryFailingHostCallOfARunEndsSoundly) {
    ASSERT_FALSE(settingsFolder.Path().empty());
    AppState named;
    ASSERT_TRUE(named.SelectColourPreset(kNamedSettings));

    std::vector<CallRecord> log;
    std::vector<PlayKind> plays;
    const Outcome baseline = RunOnce(std::nullopt, &log, &plays);
    ASSERT_EQ(0, baseline.result);
    ASSERT_EQ(std::vector<std::string>{kAsked.effect}, baseline.history);
    ASSERT_EQ(kAsked, baseline.stored);
    ASSERT_EQ(kAsked, baseline.returned);
    ASSERT_EQ(plugInDialogNone, baseline.recordInfo);
    ASSERT_EQ(named.colour, baseline.colour);
    ASSERT_TRUE(baseline.report.empty()) << baseline.report;
    // Purge, warnings off, the Effect's four events, the settings selected again.
    ASSERT_EQ(7u, baseline.plays);
    const std::vector<FailurePoint> points = FailurePoints(log, plays);
    // The stages are told apart as expected: three comparisons, the purge's
    // three calls, the hand-back's make and two puts, and calls in each other.
    std::map<Stage, size_t> perStage;
    for (const FailurePoint& point : points) {
        ++perStage[point.stage];
    }
    EXPECT_EQ(3u, perStage[Stage::Dispatch]);
    EXPECT_EQ(3u, perStage[Stage::Purge]);
    EXPECT_EQ(3u, perStage[Stage::HandBack]);
    for (Stage stage : {Stage::Fitness, Stage::Run, Stage::Guard, Stage::Effect, Stage::Freeing}) {
        EXPECT_GT(perStage[stage], 0u) << StageName(stage);
    }

    for (const FailurePoint& point : points) {
        SCOPED_TRACE(Describe(point));
        const Outcome o = RunOnce(point);
        ASSERT_TRUE(o.fired) << "the run no longer makes this call";
        ExpectNothingLeftBut(point, o);
        EXPECT_TRUE(o.stored == kEarlier || o.stored == kAsked) << o.stored.set << " / " << o.stored.effect;

        const bool complete = o.history == std::vector<std::string>{kAsked.effect} && o.stored == kAsked &&
                              o.returned == kAsked && o.recordInfo == plugInDialogNone;
        const bool untouched = o.history.empty() && o.stored == kEarlier;
        if (o.result != 0) {
            // The host's code passes up unchanged, or becomes the module's
            // "host insufficient" where the module cannot go on without it.
            EXPECT_TRUE(o.result == kInjected || o.result == errPlugInHostInsufficient)
                << ResultText(o.result);
            EXPECT_TRUE(untouched) << o.history.size() << " history state(s), stored " << o.stored.set;
        } else if (complete) {
            EXPECT_TRUE(IgnoredByDesign(point.stage) || point.stage == Stage::Dispatch);
        } else {
            // Only a caller or selector that cannot be compared makes the
            // module answer 0 having done nothing: the host's IsEqual has no
            // status, so its failure reads as "not equal".
            EXPECT_EQ(Stage::Dispatch, point.stage);
            EXPECT_TRUE(untouched && o.plays == 0);
            EXPECT_EQ(plugInDialogOptional, o.recordInfo) << "the module answered the request";
        }
        // The colour settings come back whatever fails, except when the
        // failing call is the guard's own reading or restoring of them.
        if (!(o.colour == named.colour)) {
            EXPECT_EQ(Stage::Guard, point.stage);
        }
    }
}

} // namespace
} // namespace vhost::e2e
