// Help opens the manual beside the module through the system's shell: with
// the module installed in a folder F, the program associated with PDF
// documents is asked to open F\vlh_help\Honer-Manual-123.pdf, and nothing is
// played or stored.
#include "windows/tests/ManualFixture.h"
#include "windows/tests/WindowsHostFixture.h"

#include "host/core/ResultText.h"

#include <cctype>
#include <memory>

namespace vhost::wintest {
namespace {

// The system may hand a document over in its short or long form, in any case.
std::string Canonical(const std::string& path) {
    char full[MAX_PATH + 1] = {};
    const DWORD n = GetLongPathNameA(path.c_str(), full, MAX_PATH);
    std::string result = n > 0 && n <= MAX_PATH ? std::string(full, n) : path;
    for (char& c : result) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

// The installed copy lives for the whole suite: a loaded module cannot be
// deleted, and each test's host unloads it only when the test object goes.
class ManualThroughTheShell : public WindowsHostTest {
protected:
    static void SetUpTestSuite() { installed = std::make_unique<InstalledModule>(); }
    static void TearDownTestSuite() { installed.reset(); }

    void SetUp() override {
        modulePath = installed->ModulePath();
        association = std::make_unique<PdfAssociation>(installed->Folder() + "opened.txt");
        WindowsHostTest::SetUp();
    }
    void TearDown() override {
        WindowsHostTest::TearDown();
        association.reset();
    }

    static std::unique_ptr<InstalledModule> installed;
    std::unique_ptr<PdfAssociation> association;
};

std::unique_ptr<InstalledModule> ManualThroughTheShell::installed;

TEST_F(ManualThroughTheShell, AHelpRequestOpensTheManualBesideTheModuleAndPlaysNothing) {
    const DoItResult r = DoIt("Vellicor Output Honer...", ReplayRequest("**Help**", "**Index**"));
    EXPECT_EQ(0, r.result) << ResultText(r.result);
    EXPECT_TRUE(host.Events().Plays().empty());
    EXPECT_TRUE(host.ActiveDocument()->history.empty());
    // The host gave the module its own path, in the system's form.
    EXPECT_EQ(installed->ModulePath(), host.App().lastFileSpecPath);

    const std::optional<std::string> opened = association->WaitForOpened(std::chrono::seconds(30));
    ASSERT_TRUE(opened) << "the shell opened nothing";
    EXPECT_EQ(Canonical(installed->ManualPath()), Canonical(*opened));
    // Help is no choice to remember.
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, ParametersKey("Vellicor Output Honer"), "Set"));
}

} // namespace
} // namespace vhost::wintest
