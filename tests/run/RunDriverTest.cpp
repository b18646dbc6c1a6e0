// Whole runs of the real module through the host: parameters in, one history
// state, the choice handed back and remembered.
#include "tests/run/RunFixture.h"

#include "hostapi/FourCharCode.h"
#include "platform/Registry.h"

#include <cstdlib>
#include <fstream>

namespace vhost::e2e {
namespace {

using vlh::FourCC;

class RunDriver : public RunTest {};

const std::string kSetKey = "'VlSt'";

std::string TextOf(const std::optional<Descriptor>& d, const char (&key)[5]) {
    const Value* v = d ? d->Find(FourCC(key)) : nullptr;
    return v != nullptr && v->Type() == type::kText ? v->Text() : "<none>";
}

TEST_F(RunDriver, AReplayPlaysTheEffectAsOneHistoryStateAndHandsTheChoiceBack) {
    const DoItResult r = Replay(kOutputMenu, kInkjet, kGlossy300);
    ASSERT_EQ(0, r.result) << r.refusal.value_or("");
    EXPECT_EQ(plugInDialogNone, r.recordInfo);
    EXPECT_EQ(kInkjet, TextOf(r.descriptor, "VlSt"));
    EXPECT_EQ(kGlossy300, TextOf(r.descriptor, "VlAc"));
    ASSERT_EQ(1u, host.ActiveDocument()->history.size());
    EXPECT_EQ(kGlossy300, host.ActiveDocument()->history[0]);

    // The stored events follow the clipboard purge, in stored order, nothing else.
    const auto stored = StoredEventNames("Vellicor Output Honer", kInkjet, kGlossy300);
    ASSERT_FALSE(stored.empty());
    std::vector<std::string> expected{"purge"};
    expected.insert(expected.end(), stored.begin(), stored.end());
    EXPECT_EQ(expected, Played());
    EXPECT_EQ(std::make_pair(std::string(kInkjet), std::string(kGlossy300)), Remembered("Vellicor Output Honer"));
}

TEST_F(RunDriver, WithoutParametersTheRememberedChoicePlays) {
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    host.Events().Clear();
    host.ActiveDocument()->history.clear();
    const DoItResult r = DoIt(kOutputMenu);
    ASSERT_EQ(0, r.result);
    EXPECT_EQ(std::vector<std::string>{kGlossy300}, host.ActiveDocument()->history);
    EXPECT_EQ(kInkjet, TextOf(r.descriptor, "VlSt"));
}

TEST_F(RunDriver, NamesThatFindNoEffectGiveParmAndNoHistoryState) {
    struct Case {
        const char* what;
        std::string set;
        std::string effect;
    };
    const Case cases[] = {
        {"unknown Set", "No Such Honers", kGlossy300},
        {"Effect of another Set", "Web and Multimedia Honers", kGlossy300},
        {"Set in other letter case", "inkjet output honers", kGlossy300},
        {"Effect with a trailing blank", kInkjet, std::string(kGlossy300) + " "},
        {"empty names", "", ""},
    };
    for (const Case& c : cases) {
        const DoItResult r = Replay(kOutputMenu, c.set, c.effect);
        EXPECT_EQ(kSPBadParameterError, r.result) << c.what;
        EXPECT_EQ(plugInDialogOptional, r.recordInfo) << c.what;
        // The host still holds its own parameters, untouched.
        EXPECT_EQ(c.set, TextOf(r.descriptor, "VlSt")) << c.what;
    }
    EXPECT_TRUE(host.ActiveDocument()->history.empty());
    EXPECT_TRUE(host.Events().Plays().empty());
    EXPECT_EQ(std::make_pair(std::string(), std::string()), Remembered("Vellicor Output Honer"));
}

TEST_F(RunDriver, ParametersWithoutTheSetKeyEndWithTheHostsCodeBeforeAnySetLoads) {
    DoItRequest request;
    request.descriptor = Descriptor();
    request.descriptor->Put(FourCC("VlAc"), Value::String(kGlossy300));
    host.Calls().Enable(true);
    const DoItResult r = DoIt(kOutputMenu, request);
    EXPECT_EQ(errMissingParameter, r.result);
    EXPECT_EQ(plugInDialogOptional, r.recordInfo);
    // After the failed read the module asks the host nothing more: no
    // requirement check (which reads the host version), no play.
    const auto lines = host.Calls().Lines();
    size_t failed = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("Descriptor.GetString", 0) == 0 && lines[i].find(kSetKey) != std::string::npos) {
            failed = i;
        }
    }
    ASSERT_LT(failed, lines.size());
    for (size_t i = failed + 1; i < lines.size(); ++i) {
        EXPECT_EQ(0u, lines[i].rfind("Basic.ReleaseSuite", 0)) << lines[i];
    }
}

// The help request opens the manual beside the module and plays nothing; a
// module path the host cannot give, that is not terminated, has no folder or
// leaves no room for the manual's path opens nothing.
TEST_F(RunDriver, TheHelpRequestOpensTheManualBesideTheModuleAndPlaysNothing) {
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    host.Events().Clear();
    const std::string manual = "vlh_help/Honer-Manual-123.pdf";
    // A folder whose manual path takes exactly `length` bytes.
    auto folderFor = [&manual](size_t length) { return "/" + std::string(length - manual.size() - 2, 'd') + "/"; };
    struct Case {
        const char* what;
        std::optional<std::string> modulePath; // none: the host cannot give it
        std::optional<std::string> rawPath;    // the whole field, no terminator
        std::string opened;
    };
    const Case cases[] = {
        {"the module's own path", HonerPath(), {}, (std::filesystem::path(HonerPath()).parent_path() / manual).string()},
        {"no path", {}, {}, ""},
        {"no terminator", {}, "/" + std::string(kMaxPathLength - 1, 'p'), ""},
        {"no folder", std::string("Honer.8li"), {}, ""},
        {"a manual path that fills the field", folderFor(kMaxPathLength - 1) + "H.8li", {},
         folderFor(kMaxPathLength - 1) + manual},
        {"a manual path one byte too long", folderFor(kMaxPathLength) + "H.8li", {}, ""},
    };
    PluginRecord& plugin = Plugin(kCaptureMenu);
    for (const Case& c : cases) {
        plugin.modulePath = c.modulePath.value_or("");
        plugin.fileSpecification = c.rawPath;
        host.FaultPlan().Clear();
        host.Calls().Clear();
        if (!c.modulePath && !c.rawPath) {
            host.FaultPlan().FailOnCall("Plugins.GetPluginFileSpecification", 1, kSPBadParameterError);
        }
        std::filesystem::remove(openerDir / "opened");
        const DoItResult r = Replay(kCaptureMenu, "**Help**", "**Index**");
        ASSERT_EQ(0, r.result) << c.what;
        EXPECT_EQ(plugInDialogNone, r.recordInfo) << c.what;
        EXPECT_EQ("**Help**", TextOf(r.descriptor, "VlSt")) << c.what;
        EXPECT_EQ("**Index**", TextOf(r.descriptor, "VlAc")) << c.what;
        EXPECT_EQ(c.opened.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.opened}, Opened())
            << c.what;
    }
    EXPECT_TRUE(host.Events().Plays().empty());
    EXPECT_TRUE(host.Events().Histories().empty());
    EXPECT_EQ(std::make_pair(std::string(), std::string()), Remembered("Vellicor Capture Honer"));
}

TEST_F(RunDriver, APlaybackFailureGivesItsCodeAndKeepsTheRememberedNames) {
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    const auto before = Remembered("Vellicor Output Honer");
    host.ActiveDocument()->history.clear();
    host.Events().Clear();
    host.Calls().Clear(); // planned faults count calls from here
    // The first Play is the clipboard purge; the second is the Effect's first event.
    host.FaultPlan().FailOnCall("Control.Play", 2, -25923);
    const DoItResult r = Replay(kOutputMenu, kInkjet, "Matte Paper, 300 ppi");
    EXPECT_EQ(-25923, r.result);
    EXPECT_EQ(plugInDialogNone, r.recordInfo);
    EXPECT_EQ(kInkjet, TextOf(r.descriptor, "VlSt")); // the host's own parameters, as they were
    EXPECT_EQ("Matte Paper, 300 ppi", TextOf(r.descriptor, "VlAc"));
    EXPECT_EQ(before, Remembered("Vellicor Output Honer"));
    EXPECT_TRUE(host.ActiveDocument()->history.empty());
}

// Stored parameters that cannot be reached (a file stands where the plug-in's
// key would be) are neither read nor written, and the run goes on.
TEST_F(RunDriver, AnUnreachableStoredPairDoesNotStopTheRun) {
    const auto key = std::filesystem::path(configHome) / "vellicor-registry" / "HKEY_CURRENT_USER" / "Software" /
                     "CorvaneLabs" / "Vellicor Output Honer";
    std::filesystem::create_directories(key.parent_path());
    std::ofstream(key) << "not a key";
    ASSERT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    EXPECT_EQ(std::vector<std::string>{kGlossy300}, host.ActiveDocument()->history);
    EXPECT_TRUE(std::filesystem::is_regular_file(key));
}

TEST_F(RunDriver, APluginNameWithoutACatalogueRecordGetsNoSets) {
    PluginRecord& record = Plugin(kOutputMenu);
    for (const char* reported : {"Vellicor Output Honer...", "vellicor output honer", "Vellicor Output"}) {
        record.reportedName = reported;
        EXPECT_EQ(errPlugInHostInsufficient, Replay(kOutputMenu, kInkjet, kGlossy300).result) << reported;
    }
    record.reportedName = "DebugVellicor Output Honer";
    EXPECT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    record.reportedName = "debugVellicor Output Honer";
    EXPECT_EQ(errPlugInHostInsufficient, Replay(kOutputMenu, kInkjet, kGlossy300).result);
}

TEST_F(RunDriver, AnOldHostGetsNoSets) {
    host.App().versionMajor = 5;
    EXPECT_EQ(errPlugInHostInsufficient, Replay(kOutputMenu, kInkjet, kGlossy300).result);
    host.App().versionMajor = 6;
    EXPECT_EQ(0, Replay(kOutputMenu, kInkjet, kGlossy300).result);
}

// Names longer than the 256-byte fields never overflow them: they are cut to
// 255 bytes, match nothing, and the run says so.
TEST_F(RunDriver, OverlongParametersAreBoundedAndFindNothing) {
    const std::string longName(5000, 'x');
    const DoItResult r = Replay(kOutputMenu, longName, longName);
    EXPECT_EQ(kSPBadParameterError, r.result);
}

// With the dialog asked for and no display to show it on, the run ends as not
// confirmed and plays nothing.
TEST_F(RunDriver, ADialogThatCannotBeShownIsNotAConfirmation) {
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    DoItRequest request;
    request.playInfo = plugInDialogDisplay;
    request.descriptor = Parameters(kInkjet, kGlossy300);
    const DoItResult r = DoIt(kOutputMenu, request);
    if (!savedDisplay.empty()) {
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    }
    EXPECT_NE(0, r.result);
    EXPECT_TRUE(host.Events().Plays().empty());
}

} // namespace
} // namespace vhost::e2e
