// The Set and Effect dialog of an interactive run, driven through the X
// server: what it shows, which entries it preselects, how picking another Set
// refills the Effects, and what OK, Cancel, Escape, Help and Info leave for
// the run.
#include <gtest/gtest.h>

#include <wx/defs.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "chooser/HelpLinks.h"
#include "tests/dialogs/DialogFixture.h"

namespace vlh::dialogs {
namespace {

constexpr int kSetChoice = 10001;
constexpr int kEffectChoice = 10002;
constexpr int kHelpButton = 10033;
constexpr int kInfoButton = 10006;

std::vector<std::string> SetNames(const vhost::ListedPlugin& plugin) {
    std::vector<std::string> names;
    for (const vhost::ListedSet& set : plugin.sets) {
        names.push_back(set.name);
    }
    return names;
}

std::string Swapcase(std::string text) {
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
    }
    return text;
}

using SetEffectDialogTest = DialogTest;

TEST_F(SetEffectDialogTest, ShowsThePluginsSetsOverTheHostWindowAndEscapeConfirmsNothing) {
    const vhost::ListedPlugin listed = Listed(kOutput);
    ASSERT_GE(listed.sets.size(), 2u);

    DialogScript script(x);
    DialogView seen;
    script.WaitForDialog("VellicorDlg").Observe(seen).PressKey("Escape").WaitUntilClosed();
    const vhost::DoItResult result = RunDialog(kOutput, script);
    ASSERT_TRUE(script.Finished()) << script.Failure();

    EXPECT_EQ(10000, seen.id);
    EXPECT_EQ("Vellicor Output Honer by Corvane Labs", seen.title);
    EXPECT_EQ("Vellicor Output Honer by Corvane Labs", seen.xTitle);
    EXPECT_EQ(hostWindow->XWindow(), seen.transientFor) << "the dialog is not owned by the host's window";
    EXPECT_TRUE(seen.modal);
    ASSERT_TRUE(seen.hints.decorations.has_value());
    EXPECT_NE(0u, *seen.hints.decorations & kMotifDecorationTitle) << "the dialog has a caption";
    ASSERT_TRUE(seen.hints.functions.has_value());
    EXPECT_EQ(0u, *seen.hints.functions & kMotifFunctionClose) << "the dialog has no close box";

    const std::map<int, std::string> labels = {
        {10029, "NOTE: The image must be at final output size!"},
        {10030, "Current Size:"},
        {wxID_STATIC, "Please select a Set and Effect."},
        {10031, "Honer Set:"},
        {10032, "Honer Effect:"},
        {wxID_OK, "&OK"},
        {wxID_CANCEL, "&Cancel"},
        {kHelpButton, "&Help"},
        {kInfoButton, "Info"},
    };
    for (const auto& [id, label] : labels) {
        EXPECT_EQ(label, seen.Label(id)) << "control " << id;
        EXPECT_TRUE(seen.Shown(id)) << "control " << id;
    }

    EXPECT_EQ(SetNames(listed), seen.sets.entries);
    EXPECT_EQ(0, seen.sets.selection);
    EXPECT_EQ(listed.sets[0].effects, seen.effects.entries);
    EXPECT_EQ(0, seen.effects.selection);
    EXPECT_EQ(wxID_OK, seen.focus) << "OK is the default button";

    EXPECT_EQ(1, result.result) << "Escape leaves the run unconfirmed";
    EXPECT_FALSE(result.descriptor.has_value());
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(host.Events().Lines().empty());
}

// Names handed in that differ from the entries only in letter case select
// those entries; OK runs the selected Effect under its own name.
TEST_F(SetEffectDialogTest, PreselectsNamesIgnoringLetterCaseAndOkPlaysTheSelection) {
    const vhost::ListedPlugin listed = Listed(kCapture);
    ASSERT_GE(listed.sets.size(), 3u);
    const vhost::ListedSet& set = listed.sets[2];
    ASSERT_GE(set.effects.size(), 2u);
    const std::string& effect = set.effects[1];

    DialogScript script(x);
    DialogView seen;
    script.WaitForDialog("VellicorDlg").Observe(seen).Click(wxID_OK).WaitUntilClosed();
    const vhost::DoItResult result = RunDialog(kCapture, script, Swapcase(set.name), Swapcase(effect));
    ASSERT_TRUE(script.Finished()) << script.Failure();

    EXPECT_EQ(2, seen.sets.selection);
    EXPECT_EQ(set.effects, seen.effects.entries);
    EXPECT_EQ(1, seen.effects.selection);

    EXPECT_EQ(0, result.result);
    EXPECT_EQ(set.name, Returned(result, "VlSt"));
    EXPECT_EQ(effect, Returned(result, "VlAc"));
    EXPECT_EQ(std::vector<std::string>{effect}, History());
    EXPECT_FALSE(host.Events().Lines().empty());
}

struct FallbackCase {
    const char* what;
    int setIndex;              // the Set named, or -1 for a name of no Set
    const char* unknownEffect; // the Effect named
};

class FallbackTest : public DialogTest, public ::testing::WithParamInterface<FallbackCase> {};

// A name that matches no entry selects the first entry.
TEST_P(FallbackTest, SelectsTheFirstEntryForANameThatMatchesNone) {
    const FallbackCase& c = GetParam();
    const vhost::ListedPlugin listed = Listed(kCreative);
    ASSERT_GE(listed.sets.size(), 2u);
    const size_t expectedSet = c.setIndex < 0 ? 0 : static_cast<size_t>(c.setIndex);
    const std::string setName = c.setIndex < 0 ? "No Such Honers" : listed.sets[expectedSet].name;

    DialogScript script(x);
    DialogView seen;
    script.WaitForDialog("VellicorDlg").Observe(seen).Click(wxID_OK).WaitUntilClosed();
    const vhost::DoItResult result = RunDialog(kCreative, script, setName, std::string(c.unknownEffect));
    ASSERT_TRUE(script.Finished()) << script.Failure();

    EXPECT_EQ(static_cast<int>(expectedSet), seen.sets.selection);
    EXPECT_EQ(0, seen.effects.selection);
    EXPECT_EQ(0, result.result);
    EXPECT_EQ(listed.sets[expectedSet].name, Returned(result, "VlSt"));
    EXPECT_EQ(listed.sets[expectedSet].effects[0], Returned(result, "VlAc"));
}

INSTANTIATE_TEST_SUITE_P(PreselectionNames, FallbackTest,
                         ::testing::Values(FallbackCase{"NoSuchSet", -1, "No Such Effect"},
                                           FallbackCase{"NoSuchEffectInAKnownSet", 1, "No Such Effect"},
                                           FallbackCase{"EmptyEffectName", 1, ""}),
                         [](const ::testing::TestParamInfo<FallbackCase>& param) {
                             return param.param.what;
                         });

// Picking another Set refills the Effects and preselects by the names the
// dialog was opened with, not by what the user picked before.
TEST_F(SetEffectDialogTest, PickingAnotherSetRefillsTheEffectsByTheOpeningNames) {
    const vhost::ListedPlugin listed = Listed(kOutput);
    ASSERT_GE(listed.sets.size(), 2u);
    const vhost::ListedSet& first = listed.sets[0];
    const vhost::ListedSet& second = listed.sets[1];
    ASSERT_GE(first.effects.size(), 3u);
    ASSERT_GE(second.effects.size(), 2u);
    const int openedEffect = static_cast<int>(second.effects.size()) - 1;
    ASSERT_EQ(first.effects.end(),
              std::find(first.effects.begin(), first.effects.end(), second.effects[openedEffect]));

    DialogScript script(x);
    DialogView opened, afterOwnPick, afterSecondSet, afterFirstAgain;
    script.WaitForDialog("VellicorDlg")
        .Observe(opened)
        .Select(kEffectChoice, 2)
        .Observe(afterOwnPick)
        .Select(kSetChoice, 1)
        .Observe(afterSecondSet)
        .Select(kSetChoice, 0)
        .Observe(afterFirstAgain)
        .Click(wxID_OK)
        .WaitUntilClosed();
    const vhost::DoItResult result = RunDialog(kOutput, script, first.name, second.effects[openedEffect]);
    ASSERT_TRUE(script.Finished()) << script.Failure();

    EXPECT_EQ(0, opened.sets.selection);
    EXPECT_EQ(first.effects, opened.effects.entries);
    EXPECT_EQ(0, opened.effects.selection) << "the opening Effect is not in the first Set";
    EXPECT_EQ(2, afterOwnPick.effects.selection);

    EXPECT_EQ(1, afterSecondSet.sets.selection);
    EXPECT_EQ(second.effects, afterSecondSet.effects.entries);
    EXPECT_EQ(openedEffect, afterSecondSet.effects.selection);

    EXPECT_EQ(0, afterFirstAgain.sets.selection);
    EXPECT_EQ(first.effects, afterFirstAgain.effects.entries);
    EXPECT_EQ(0, afterFirstAgain.effects.selection) << "the user's own pick is not remembered";

    EXPECT_EQ(0, result.result);
    EXPECT_EQ(first.name, Returned(result, "VlSt"));
    EXPECT_EQ(first.effects[0], Returned(result, "VlAc"));
    EXPECT_EQ(std::vector<std::string>{first.effects[0]}, History());
}

// Help ends the dialog as confirmed with the help request; the run then opens
// the manual beside the module instead of playing.
TEST_F(SetEffectDialogTest, HelpOpensTheManualBesideTheModuleAndPlaysNothing) {
    DialogScript script(x);
    script.WaitForDialog("VellicorDlg").Click(kHelpButton).WaitUntilClosed();
    const vhost::DoItResult result = RunDialog(kExpert, script);
    ASSERT_TRUE(script.Finished()) << script.Failure();

    EXPECT_EQ(0, result.result);
    EXPECT_EQ("**Help**", Returned(result, "VlSt"));
    EXPECT_EQ("**Index**", Returned(result, "VlAc"));
    const std::string manual =
        (std::filesystem::path(vhost::e2e::HonerPath()).parent_path() / "vlh_help" / "Honer-Manual-123.pdf")
            .string();
    EXPECT_EQ(std::vector<std::string>{manual}, Opened());
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(host.Events().Lines().empty());
}

// Info shows the product page through the host and ends the dialog as not
// confirmed.
TEST_F(SetEffectDialogTest, InfoBrowsesTheProductPageAndConfirmsNothing) {
    DialogScript script(x);
    script.WaitForDialog("VellicorDlg").Click(kInfoButton).WaitUntilClosed();
    const vhost::DoItResult result = RunDialog(kCreative, script);
    ASSERT_TRUE(script.Finished()) << script.Failure();

    EXPECT_EQ(1, result.result);
    EXPECT_EQ(std::vector<std::string>{kProductInformationPage}, host.App().browsedUrls);
    EXPECT_FALSE(result.descriptor.has_value());
    EXPECT_TRUE(Opened().empty());
    EXPECT_TRUE(History().empty());
}

} // namespace
} // namespace vlh::dialogs
