// The real module in the real host: requests that end before any recipe is
// played, and their bookkeeping.
#include "hostapi/FourCharCode.h"
#include "tests/support/EndToEnd.h"

namespace vhost::e2e {
namespace {

using vlh::FourCC;

constexpr const char* kCapture = "Vellicor Capture Honer...";

class ModuleRequestTest : public EndToEndTest {};

TEST_F(ModuleRequestTest, AnUnknownSelectorAcquiresAndReleasesTheSuitesAndAnswersZero) {
    host.Calls().Enable(true);
    EXPECT_EQ(0, host.SendRequest(Plugin(kCapture), kSPInterfaceCaller, kSPInterfaceStartupSelector));
    EXPECT_EQ(8u, host.Calls().Count("Basic.AcquireSuite"));
    EXPECT_EQ(8u, host.Calls().Count("Basic.ReleaseSuite"));
}

TEST_F(ModuleRequestTest, AHostNamedElementsAnywhereIsRefused) {
    for (const char* name : {"Elements Host", "Vellicor Elements Host", "Host Elements"}) {
        host.App().hostName = name;
        DoItResult r = DoIt(kCapture);
        EXPECT_EQ(errPlugInHostInsufficient, r.result) << name;
        EXPECT_FALSE(r.descriptor) << name;
        EXPECT_TRUE(host.Events().Plays().empty()) << name;
    }
}

TEST_F(ModuleRequestTest, ASixteenBitDocumentOnAnOldHostIsRefusedBeforeTheNameIsRead) {
    Document doc;
    doc.depth = 16;
    host.OpenDocument(doc);
    host.App().versionMajor = 7;
    host.Calls().Enable(true);
    DoItResult r = DoIt(kCapture);
    EXPECT_EQ(-30914, r.result);
    for (const std::string& line : host.Calls().Lines("Control.Get")) {
        EXPECT_EQ(std::string::npos, line.find("'HstN'")) << line;
    }
    EXPECT_TRUE(host.ActiveDocument()->history.empty());
}

TEST_F(ModuleRequestTest, TheDepthAndVersionAreReadThroughTheHostsAnswers) {
    Document doc;
    doc.depth = 8;
    host.OpenDocument(doc);
    host.App().versionMajor = 7;
    host.App().hostName = "Elements";
    // An 8-bit document passes the depth check whatever the version, so the
    // name check is what refuses the request.
    EXPECT_EQ(errPlugInHostInsufficient, DoIt(kCapture).result);
    // The depth read as 16 through an override makes version 7 too old.
    host.OverrideProperty(FourCC("Dcmn"), FourCC("Dpth"), Value::Integer(16));
    EXPECT_EQ(-30914, DoIt(kCapture).result);
}

TEST_F(ModuleRequestTest, EveryFailingSuiteAcquisitionEndsInHostInsufficientWithNothingHeld) {
    for (uint64_t n = 1; n <= 8; ++n) {
        host.Calls().Clear();
        host.FaultPlan().Clear();
        host.FaultPlan().FailOnCall("Basic.AcquireSuite", n, kSPSuiteNotFoundError);
        EXPECT_EQ(errPlugInHostInsufficient, DoIt(kCapture).result) << n;
        EXPECT_TRUE(host.Books().UnreleasedSuites().empty()) << n << "\n" << host.Report();
    }
}

} // namespace
} // namespace vhost::e2e
