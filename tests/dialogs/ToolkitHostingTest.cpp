// The toolkit hosted inside the module: every request that shows a window
// starts and stops it, requests in a row work and leave the host's window
// alone, and no other request starts it.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/dialog.h>

#include <string>
#include <vector>

#include "hostapi/FourCharCode.h"
#include "tests/dialogs/DialogFixture.h"

namespace vlh::dialogs {
namespace {

constexpr int kSetChoice = 10001;
constexpr int kEffectChoice = 10002;

// Outside a request the toolkit is not running: no application object, no
// top-level window.
void ExpectToolkitStopped() {
    EXPECT_EQ(nullptr, wxTheApp);
    EXPECT_TRUE(wxTopLevelWindows.IsEmpty());
}

using ToolkitHostingTest = DialogTest;

// An about box, a run confirmed with OK, and a run that opens with what the
// previous one chose: each request starts and stops the toolkit, and each
// window is owned by the host's window.
TEST_F(ToolkitHostingTest, RequestsInARowEachStartAndStopTheToolkit) {
    const vhost::ListedPlugin listed = Listed(kOutput);
    ASSERT_GE(listed.sets.size(), 2u);
    ASSERT_GE(listed.sets[1].effects.size(), 2u);

    DialogScript about(x);
    DialogView aboutSeen;
    about.WaitForDialog("AboutDlg").Observe(aboutSeen).Click(wxID_OK);
    EXPECT_EQ(0, RunAbout(about));
    ASSERT_TRUE(about.Finished()) << about.Failure();
    ExpectToolkitStopped();

    DialogScript choose(x);
    DialogView chooseSeen;
    choose.WaitForDialog("VellicorDlg")
        .Observe(chooseSeen)
        .Select(kSetChoice, 1)
        .Select(kEffectChoice, 1)
        .Click(wxID_OK);
    const vhost::DoItResult chosen = RunDialog(kOutput, choose);
    ASSERT_TRUE(choose.Finished()) << choose.Failure();
    EXPECT_EQ(0, chosen.result);
    EXPECT_EQ(listed.sets[1].name, Returned(chosen, "VlSt"));
    EXPECT_EQ(listed.sets[1].effects[1], Returned(chosen, "VlAc"));
    ExpectToolkitStopped();

    DialogScript again(x);
    DialogView againSeen;
    again.WaitForDialog("VellicorDlg").Observe(againSeen).PressKey("Escape");
    EXPECT_EQ(1, RunDialog(kOutput, again).result);
    ASSERT_TRUE(again.Finished()) << again.Failure();
    EXPECT_EQ(1, againSeen.sets.selection) << "the remembered Set is preselected";
    EXPECT_EQ(1, againSeen.effects.selection) << "the remembered Effect is preselected";
    ExpectToolkitStopped();

    for (const DialogView* seen : {&aboutSeen, &chooseSeen, &againSeen}) {
        EXPECT_EQ(hostWindow->XWindow(), seen->transientFor) << seen->className;
    }
}

// Only the about and "Do It" requests start the toolkit (which asks the host
// for its main window first); other requests, and any request whose suites
// cannot all be acquired, never do.
TEST_F(ToolkitHostingTest, OtherRequestsAndAFailedSuiteAcquisitionNeverStartTheToolkit) {
    vhost::PluginRecord& plugin = Plugin(kCapture);
    host.Calls().Enable(true);
    const std::pair<const char*, const char*> others[] = {
        {kSPInterfaceCaller, kSPInterfaceStartupSelector}, {kSPAccessCaller, kSPAccessUnloadSelector},
        {kSPInterfaceCaller, kPSDoIt}, {kPSPhotoshopCaller, kSPInterfaceAboutSelector}, {"Someone Else", "Do It"}};
    for (const auto& [caller, selector] : others) {
        host.Calls().Clear();
        EXPECT_EQ(0, host.SendRequest(plugin, caller, selector)) << caller << "/" << selector;
        EXPECT_EQ(0u, host.Calls().Count("UIHooks.MainAppWindow")) << caller << "/" << selector;
    }
    // The sixth suite is the one the toolkit asks for the host's window.
    for (uint64_t failing : {1u, 6u}) {
        for (bool about : {true, false}) {
            host.Calls().Clear();
            host.FaultPlan().Clear();
            host.FaultPlan().FailOnCall("Basic.AcquireSuite", failing, kSPSuiteNotFoundError);
            EXPECT_EQ(errPlugInHostInsufficient, about ? host.About(plugin) : DoIt(kCapture).result) << failing;
            EXPECT_EQ(0u, host.Calls().Count("UIHooks.MainAppWindow")) << failing;
            ExpectToolkitStopped();
        }
    }
}

} // namespace
} // namespace vlh::dialogs
