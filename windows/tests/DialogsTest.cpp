// The module's windows under wine, shown over the host's main window and
// driven by real key presses through the X server: the Set and Effect dialog
// and the about box are owned by the host's window, block it while they are
// up, and do what the keys say; the host's window survives every request.
#include "windows/tests/DialogDriver.h"
#include "windows/tests/ManualFixture.h"
#include "windows/tests/WindowsHostFixture.h"

#include "host/core/ResultText.h"
#include "hostapi/FourCharCode.h"

#include <memory>

namespace vhost::wintest {
namespace {

constexpr SPErr kNotConfirmed = 1;
const Choice& Output() {
    return ShippedChoices()[2];
}

std::string TextOf(const std::optional<Descriptor>& d, const char (&key)[5]) {
    const Value* v = d ? d->Find(vlh::FourCC(key)) : nullptr;
    return v != nullptr && v->Type() == type::kText ? v->Text() : "<none>";
}

class Dialogs : public WindowsHostTest {
protected:
    // Runs the Output plug-in with the dialog, its Set and Effect preselected,
    // pressing keys into whatever window it shows.
    DoItResult RunWithDialog(const std::vector<std::string>& keys) {
        DialogDriver driver(window->Handle(), keys);
        const DoItResult r =
            DoIt(Output().menuName, ReplayRequest(Output().set, Output().effect, plugInDialogDisplay));
        seen = driver.Seen();
        problems = driver.Problems();
        return r;
    }

    void ExpectOwnedByTheHostAndModal(size_t count) {
        EXPECT_TRUE(problems.empty()) << problems.front();
        ASSERT_EQ(count, seen.size());
        // The module's toolkit makes its windows under the module's own
        // instance, not the host program's.
        const HMODULE module = GetModuleHandleA(modulePath.c_str());
        ASSERT_NE(nullptr, module);
        for (const SeenWindow& w : seen) {
            EXPECT_EQ(window->Handle(), w.owner) << w.title;
            EXPECT_FALSE(w.hostEnabled) << w.title << " left the host's window taking input";
            char file[MAX_PATH + 1] = {};
            GetModuleFileNameA(w.instance, file, MAX_PATH);
            EXPECT_EQ(module, w.instance) << w.title << " (" << w.className << ") made under " << file;
        }
    }

    std::vector<SeenWindow> seen;
    std::vector<std::string> problems;
};

TEST_F(Dialogs, TheDialogIsOwnedByTheHostsWindowAndReturnPlaysThePreselectedEffect) {
    const DoItResult r = RunWithDialog({"Return"});
    ExpectOwnedByTheHostAndModal(1);
    EXPECT_EQ("Vellicor Output Honer by Corvane Labs", seen.front().title);
    ASSERT_EQ(0, r.result) << ResultText(r.result);
    EXPECT_EQ(std::vector<std::string>{Output().effect}, host.ActiveDocument()->history);
    EXPECT_EQ(Output().set, TextOf(r.descriptor, "VlSt"));
    EXPECT_EQ(Output().effect, TextOf(r.descriptor, "VlAc"));
}

TEST_F(Dialogs, EscapeConfirmsNothingAndPlaysNothing) {
    const DoItResult r = RunWithDialog({"Escape"});
    ExpectOwnedByTheHostAndModal(1);
    EXPECT_EQ(kNotConfirmed, r.result) << ResultText(r.result);
    EXPECT_TRUE(host.Events().Plays().empty());
    EXPECT_TRUE(host.ActiveDocument()->history.empty());
}

TEST_F(Dialogs, TwoRunsInARowEachStartTheToolkitAndShowTheDialog) {
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const DoItResult r = RunWithDialog({"Return"});
        ExpectOwnedByTheHostAndModal(1);
        EXPECT_EQ(0, r.result) << ResultText(r.result);
    }
    EXPECT_EQ(2u, host.ActiveDocument()->history.size());
}

TEST_F(Dialogs, TheAboutBoxIsOwnedByTheHostsWindowAndReturnClosesIt) {
    DialogDriver driver(window->Handle(), {"Return"});
    const SPErr result = host.About(Plugin(Output().menuName));
    seen = driver.Seen();
    problems = driver.Problems();
    ExpectOwnedByTheHostAndModal(1);
    EXPECT_EQ(0, result) << ResultText(result);
    EXPECT_TRUE(host.Events().Plays().empty());
}

// The installed copy lives for the whole suite: a loaded module cannot be
// deleted, and each test's host unloads it only when the test object goes.
class DialogHelp : public Dialogs {
protected:
    static void SetUpTestSuite() { installed = std::make_unique<InstalledModule>(); }
    static void TearDownTestSuite() { installed.reset(); }

    void SetUp() override {
        modulePath = installed->ModulePath();
        association = std::make_unique<PdfAssociation>(installed->Folder() + "opened.txt");
        Dialogs::SetUp();
    }
    void TearDown() override {
        Dialogs::TearDown();
        association.reset();
    }

    static std::unique_ptr<InstalledModule> installed;
    std::unique_ptr<PdfAssociation> association;
};

std::unique_ptr<InstalledModule> DialogHelp::installed;

TEST_F(DialogHelp, HelpByItsMnemonicOpensTheManualAndPlaysNothing) {
    const DoItResult r = RunWithDialog({"alt+h"});
    ExpectOwnedByTheHostAndModal(1);
    EXPECT_EQ(0, r.result) << ResultText(r.result);
    EXPECT_TRUE(host.Events().Plays().empty());
    const std::optional<std::string> opened = association->WaitForOpened(std::chrono::seconds(30));
    ASSERT_TRUE(opened) << "the shell opened nothing";
    EXPECT_NE(std::string::npos, opened->find("Honer-Manual-123.pdf")) << *opened;
}

} // namespace
} // namespace vhost::wintest
