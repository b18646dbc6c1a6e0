// The entry point of the real module as the host calls it: which requests do
// what, and in which order the module reads the host before a run.
#include "hostapi/FourCharCode.h"
#include "tests/support/EndToEnd.h"

namespace vhost::e2e {
namespace {

using vlh::FourCC;

constexpr const char* kCapture = "Vellicor Capture Honer...";

class Requests : public EndToEndTest {
protected:
    void SetUp() override {
        EndToEndTest::SetUp();
        host.OpenDocument();
        host.Calls().Enable(true);
    }

    // The properties the module asked Get for, in order ("Dpth", "HstV", ...),
    // and whether it went on to ask the host for its own name.
    std::vector<std::string> PropertiesRead() {
        std::vector<std::string> reads;
        for (const auto& line : host.Calls().Lines()) {
            if (line.rfind("Control.Get", 0) == 0) {
                const size_t at = line.find("prop '");
                reads.push_back(at == std::string::npos ? line : line.substr(at + 6, 4));
            } else if (line.rfind("UIHooks.GetPluginName", 0) == 0) {
                reads.push_back("<plug-in name>");
            }
        }
        return reads;
    }
};

TEST_F(Requests, OnlyAboutAndDoItDoAnythingAndEveryRequestReleasesItsSuites) {
    struct Case {
        const char* caller;
        const char* selector;
    };
    const Case quiet[] = {
        {kSPInterfaceCaller, kSPInterfaceStartupSelector}, {kSPInterfaceCaller, kSPInterfaceShutdownSelector},
        {kSPAccessCaller, kSPAccessReloadSelector},        {kSPAccessCaller, kSPAccessUnloadSelector},
        {kSPInterfaceCaller, kPSDoIt},                     {kPSPhotoshopCaller, kSPInterfaceAboutSelector},
        {"Someone Else", "Do It"},                         {"", ""},
    };
    for (const Case& c : quiet) {
        host.Calls().Clear();
        EXPECT_EQ(0, host.SendRequest(Plugin(kCapture), c.caller, c.selector)) << c.caller << "/" << c.selector;
        EXPECT_EQ(8u, host.Calls().Count("Basic.AcquireSuite"));
        EXPECT_EQ(8u, host.Calls().Count("Basic.ReleaseSuite"));
        EXPECT_EQ(0u, host.Calls().Count("Control.Get")) << c.caller << "/" << c.selector;
        EXPECT_TRUE(host.Books().UnreleasedSuites().empty());
    }
    host.Calls().Clear();
    EXPECT_EQ(0, host.About(Plugin(kCapture)));
    EXPECT_EQ(0u, host.Calls().Count("Control.Get"));
    EXPECT_EQ(0u, host.Calls().Count("UIHooks.GetPluginName"));
}

// Without its suites the module can do nothing: a missing basic suite or any
// suite the host cannot give ends the request with nothing held.
TEST_F(Requests, WithoutEverySuiteTheRequestIsRefusedAndNothingIsHeld) {
    PluginRecord& plugin = Plugin(kCapture);
    SPMessageData noBasic{};
    noBasic.self = plugin.Ref();
    EXPECT_EQ(errPlugInHostInsufficient, plugin.entry(kSPInterfaceCaller, kSPInterfaceAboutSelector, &noBasic));
    for (uint64_t n = 1; n <= 8; ++n) {
        host.Calls().Clear();
        host.FaultPlan().Clear();
        host.FaultPlan().FailOnCall("Basic.AcquireSuite", n, kSPSuiteNotFoundError);
        EXPECT_EQ(errPlugInHostInsufficient, DoIt(kCapture).result) << n;
        EXPECT_EQ(0u, host.Calls().Count("Control.Get")) << n;
        EXPECT_TRUE(host.Books().UnreleasedSuites().empty()) << n << "\n" << host.Report();
    }
}

// The fitness tests read depth, then (only for 16 bits) the version, then the
// name, then the plug-in's own name, stopping where one fails.
TEST_F(Requests, FitnessTestsReadTheHostInOrderAndStopAtTheFirstFailure) {
    struct Case {
        const char* what;
        int32_t depth;
        int32_t version;
        const char* hostName;
        SPErr result;
        std::vector<std::string> reads;
    };
    const Case cases[] = {
        {"8-bit", 8, 7, "Host", 0, {"Dpth", "HstN", "<plug-in name>"}},
        {"16-bit, version 7", 16, 7, "Host", -30914, {"Dpth", "HstV"}},
        {"16-bit, version 8", 16, 8, "Host", 0, {"Dpth", "HstV", "HstN", "<plug-in name>"}},
        {"Elements", 8, 24, "Photo Elements", errPlugInHostInsufficient, {"Dpth", "HstN"}},
        {"elements in lower case", 8, 24, "photo elements", 0, {"Dpth", "HstN", "<plug-in name>"}},
    };
    for (const Case& c : cases) {
        host.ActiveDocument()->depth = c.depth;
        host.App().versionMajor = c.version;
        host.App().hostName = c.hostName;
        host.Calls().Clear();
        host.FaultPlan().Clear();
        // Stop a passing run right after the fitness tests: its Set list
        // comes out empty when the host refuses every Get past these.
        const SPErr result = DoIt(kCapture).result;
        if (c.result != 0) {
            EXPECT_EQ(c.result, result) << c.what;
        }
        std::vector<std::string> reads = PropertiesRead();
        // A passing run goes on into the run driver; compare the prefix.
        if (reads.size() > c.reads.size()) {
            reads.resize(c.reads.size());
        }
        EXPECT_EQ(c.reads, reads) << c.what;
    }
}

TEST_F(Requests, AnUnreadableHostNameCountsAsEmpty) {
    host.RemoveProperty(FourCC("capp"), FourCC("HstN"));
    DoIt(kCapture);
    EXPECT_EQ(1u, host.Calls().Count("UIHooks.GetPluginName"));
}

TEST_F(Requests, APluginNameTooLongForItsBufferIsNotUsed) {
    Plugin(kCapture).reportedName = std::string(300, 'V');
    EXPECT_EQ(errPlugInHostInsufficient, DoIt(kCapture).result);
}

} // namespace
} // namespace vhost::e2e
