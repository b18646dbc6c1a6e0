// The toolkit hosted inside the module: every request starts and stops it,
// requests in a row work and leave the host's window alone, a run without a
// display ends cleanly, and the `vellicor` command shows the module's windows
// over its own main window.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/dialog.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/catalogue/StoredSetDirectory.h"
#include "host/resources/ElfSection.h"
#include "hostapi/FourCharCode.h"
#include "tests/dialogs/ChildProcess.h"
#include "tests/dialogs/DialogFixture.h"
#include "tools/actionwriter/ActionWriter.h"

namespace vlh::dialogs {
namespace {

namespace fs = std::filesystem;

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

// Runs without the dialog start and stop the toolkit too; many in a row leave
// nothing behind and a dialog still comes up afterwards.
TEST_F(ToolkitHostingTest, ManyRunsWithoutTheDialogLeaveTheToolkitStopped) {
    const vhost::ListedPlugin listed = Listed(kCapture);
    vhost::DoItRequest request;
    request.descriptor.emplace();
    request.descriptor->Put(FourCC("VlSt"), vhost::Value::String(listed.sets[0].name));
    request.descriptor->Put(FourCC("VlAc"), vhost::Value::String(listed.sets[0].effects[0]));
    for (int run = 0; run < 12; ++run) {
        SCOPED_TRACE("run " + std::to_string(run + 1));
        EXPECT_EQ(0, DoIt(kCapture, request).result);
        ExpectToolkitStopped();
    }
    EXPECT_EQ(12u, History().size());

    DialogScript script(x);
    script.WaitForDialog("VellicorDlg").PressKey("Escape");
    EXPECT_EQ(1, RunDialog(kCapture, script).result);
    EXPECT_TRUE(script.Finished()) << script.Failure();
}

// ---- the `vellicor` command in a process of its own -------------------------

std::string VellicorPath() {
    return VLH_VELLICOR_PATH;
}

// A private folder for the command's per-user settings and output, and the
// test's own connection to the X server.
class VellicorCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vellicor-command-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::vector<ChildProcess::EnvironmentChange> Environment(bool withDisplay) const {
        std::vector<ChildProcess::EnvironmentChange> changes = {{"XDG_CONFIG_HOME", folder}};
        if (!withDisplay) {
            changes.push_back({"DISPLAY", std::nullopt});
            changes.push_back({"WAYLAND_DISPLAY", std::nullopt});
        }
        return changes;
    }

    // The top-level window of the command that shows over a window titled
    // "Vellicor Host" and satisfies wanted; 0 while there is none.
    unsigned long WindowOverHost(const std::function<bool(unsigned long, const WindowGeometry&)>& wanted) {
        for (unsigned long window : x.TopLevelWindows()) {
            const auto geometry = x.Geometry(window);
            const unsigned long owner = x.TransientFor(window);
            if (geometry && geometry->viewable && owner != 0 && x.Title(owner) == "Vellicor Host" &&
                wanted(window, *geometry)) {
                return window;
            }
        }
        return 0;
    }

    std::string folder;
    XSession x;
};

TEST_F(VellicorCommandTest, WithoutADisplayTheAboutRequestShowsNothingAndEndsCleanly) {
    ChildProcess about({VellicorPath(), "about", "--module", vhost::e2e::HonerPath()}, Environment(false),
                       folder);
    ASSERT_TRUE(about.Started());
    EXPECT_EQ(0, about.Wait(std::chrono::seconds(60))) << about.Errors();
    EXPECT_NE(std::string::npos, about.Output().find("accounting: clean")) << about.Output();
    EXPECT_NE(std::string::npos, about.Errors().find("no display")) << about.Errors();
}

// A run that needs the dialog ends as not confirmed instead of crashing; a
// run without it still plays.
TEST_F(VellicorCommandTest, WithoutADisplayTheDialogIsNotConfirmedAndRunsWithoutItStillPlay) {
    ChildProcess dialog({VellicorPath(), "run", "--dialog", "--module", vhost::e2e::HonerPath(), "--plugin",
                         "Vellicor Output Honer"},
                        Environment(false), folder);
    EXPECT_EQ(1, dialog.Wait(std::chrono::seconds(60))) << dialog.Errors();
    EXPECT_NE(std::string::npos, dialog.Output().find("1 (not confirmed)")) << dialog.Output();
    EXPECT_NE(std::string::npos, dialog.Output().find("accounting clean")) << dialog.Output();

    const vhost::ListedPlugin listed = Listed(kOutput);
    ChildProcess plain({VellicorPath(), "run", "--module", vhost::e2e::HonerPath(), "--plugin",
                        "Vellicor Output Honer", "--set", listed.sets[0].name, "--effect",
                        listed.sets[0].effects[0]},
                       Environment(false), folder);
    EXPECT_EQ(0, plain.Wait(std::chrono::seconds(120))) << plain.Output() << plain.Errors();
    EXPECT_EQ(std::string::npos, plain.Output().find("events     0 played")) << plain.Output();
    EXPECT_NE(std::string::npos, plain.Output().find("accounting clean")) << plain.Output();
}

// `vellicor about` shows the about box over the host's window; a click on
// the logo ends the request.
TEST_F(VellicorCommandTest, AboutShowsTheLogoOverTheHostWindowUntilClicked) {
    ASSERT_TRUE(x.Ok());
    ChildProcess about({VellicorPath(), "about", "--module", vhost::e2e::HonerPath()}, Environment(true),
                       folder);
    bool clicked = false;
    const auto status = about.Wait(std::chrono::seconds(60), [&] {
        const unsigned long box = WindowOverHost(
            [](unsigned long, const WindowGeometry& g) { return g.width == 504 && g.height == 216; });
        if (box != 0 && !clicked) {
            const auto g = x.Geometry(box);
            x.MovePointer(g->x + g->width / 2, g->y + g->height / 2);
            x.Click();
            clicked = true;
        }
    });
    EXPECT_TRUE(clicked) << "no about box over the host's window";
    EXPECT_EQ(0, status) << about.Output() << about.Errors();
    EXPECT_NE(std::string::npos, about.Output().find("accounting: clean")) << about.Output();
}

// `vellicor run --dialog` shows the dialog over the host's window; Escape
// ends the run as not confirmed.
TEST_F(VellicorCommandTest, RunWithTheDialogShowsItOverTheHostWindow) {
    ASSERT_TRUE(x.Ok());
    ChildProcess run({VellicorPath(), "run", "--dialog", "--module", vhost::e2e::HonerPath(), "--plugin",
                      "Vellicor Output Honer"},
                     Environment(true), folder);
    int ticksSinceFocus = -1;
    const auto status = run.Wait(std::chrono::seconds(60), [&] {
        const unsigned long dialog = WindowOverHost([this](unsigned long window, const WindowGeometry&) {
            return x.Title(window) == "Vellicor Output Honer by Corvane Labs";
        });
        if (dialog != 0 && ticksSinceFocus < 0) {
            x.Focus(dialog);
            ticksSinceFocus = 0;
        } else if (ticksSinceFocus >= 0 && ++ticksSinceFocus == 8) {
            x.PressKey("Escape");
        }
    });
    EXPECT_GE(ticksSinceFocus, 8) << "no dialog over the host's window";
    EXPECT_EQ(1, status) << run.Output() << run.Errors();
    EXPECT_NE(std::string::npos, run.Output().find("1 (not confirmed)")) << run.Output();
}

// A copy of the module whose Creative plug-in stores, in place of its first
// Set, a Set without Effects: the bytes of the stored-Set section are patched
// in a copy of the file, so the module's code is the real one.
std::string ModuleWithAnEmptySet(const std::string& folder, const std::string& setName) {
    std::ifstream in(vhost::e2e::HonerPath(), std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<uint8_t> section = vhost::ReadElfSection(vhost::e2e::HonerPath(), ".vlh_sets");
    const auto found = std::search(file.begin(), file.end(), section.begin(), section.end());
    if (found == file.end()) {
        ADD_FAILURE() << "the stored-Set section is not in the module file";
        return {};
    }
    const vhost::StoredSetDirectory directory = vhost::ParseStoredSetDirectory(section);
    const auto plugin =
        std::find(directory.plugins.begin(), directory.plugins.end(), "Vellicor Creative Honer");
    const std::vector<vhost::StoredSetEntry> sets =
        vhost::SetsOfPlugin(directory, static_cast<size_t>(plugin - directory.plugins.begin()));
    const vtools::Bytes empty = vtools::WriteStoredSet(vtools::SetModel::Named(setName));
    if (sets.empty() || empty.size() > sets[0].bytes.size()) {
        ADD_FAILURE() << "no room for the empty Set";
        return {};
    }
    const auto slot = found + (sets[0].bytes.data() - section.data());
    std::fill(slot, slot + static_cast<std::ptrdiff_t>(sets[0].bytes.size()), uint8_t{0});
    std::copy(empty.begin(), empty.end(), slot);
    const std::string path = folder + "/Honer.8li";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return path;
}

// Picking a Set without Effects empties the Effect choice; OK then hands the
// run an empty Effect name and no Effect, which no Set holds. The dialog opens
// on the Set after it with the keyboard on OK; two Shift+Tabs lead back to
// the Set choice, where Home picks the first Set, the one without Effects.
TEST_F(VellicorCommandTest, OkOnASetWithoutEffectsChoosesNoEffect) {
    ASSERT_TRUE(x.Ok());
    const std::string emptySet = "Empty Honers";
    const std::string variant = ModuleWithAnEmptySet(folder, emptySet);
    ASSERT_FALSE(variant.empty());
    std::vector<vhost::ListedSet> sets;
    for (const vhost::ListedPlugin& plugin : vhost::ListModuleSets(variant)) {
        if (plugin.name == "Vellicor Creative Honer") {
            sets = plugin.sets;
        }
    }
    ASSERT_GE(sets.size(), 2u);
    ASSERT_EQ(emptySet, sets[0].name) << "the module copy offers no Set without Effects first";
    ASSERT_TRUE(sets[0].effects.empty());
    ASSERT_FALSE(sets[1].effects.empty());

    ChildProcess run({VellicorPath(), "run", "--dialog", "--module", variant, "--plugin",
                      "Vellicor Creative Honer", "--set", sets[1].name, "--effect", sets[1].effects[0]},
                     Environment(true), folder);
    int ticksSinceFocus = -1;
    const auto status = run.Wait(std::chrono::seconds(60), [&] {
        const unsigned long dialog = WindowOverHost([this](unsigned long window, const WindowGeometry&) {
            return x.Title(window) == "Vellicor Creative Honer by Corvane Labs";
        });
        if (dialog != 0 && ticksSinceFocus < 0) {
            x.Focus(dialog);
            ticksSinceFocus = 0;
        } else if (ticksSinceFocus >= 0) {
            // One key every few ticks, so that each has been handled before the next.
            const char* keys[][2] = {
                {"Tab", "Shift_L"}, {"Tab", "Shift_L"}, {"Home", nullptr}, {"o", "Alt_L"}};
            const int tick = ++ticksSinceFocus;
            if (tick % 8 == 0 && tick / 8 <= 4) {
                x.PressKey(keys[tick / 8 - 1][0], keys[tick / 8 - 1][1]);
            }
        }
    });
    EXPECT_GE(ticksSinceFocus, 32) << "no dialog over the host's window";
    EXPECT_EQ(1, status) << run.Output() << run.Errors();
    const std::string output = run.Output();
    EXPECT_NE(std::string::npos, output.find("bad parameter")) << output;
    EXPECT_NE(std::string::npos, output.find("events     0 played")) << output;
    EXPECT_NE(std::string::npos, output.find("accounting clean")) << output;
}

} // namespace
} // namespace vlh::dialogs
