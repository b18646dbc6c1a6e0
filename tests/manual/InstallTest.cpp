// The product as a user receives it: `cmake --install` into an empty prefix,
// then the installed `vellicor` (finding the installed module by itself) runs
// the module's Help: from the dialog, with real key presses through the X
// server, and from a replayed "**Help**" parameter. An xdg-open first on PATH
// records what the module asks the system to open: it must be the installed
// manual, and the manual must be there.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/dialogs/ChildProcess.h"
#include "tests/dialogs/XSession.h"
#include "tests/manual/Poppler.h"

namespace vlh::manualtest {
namespace {

namespace fs = std::filesystem;
using dialogs::ChildProcess;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class InstallTest : public ::testing::Test {
protected:
    // One installation for the whole suite.
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "vellicor-install-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        prefix = new std::string(pattern + "/prefix");
        std::string error;
        if (!RunProgram({VLH_CMAKE_COMMAND, "--install", VLH_BUILD_DIR, "--prefix", *prefix}, error)) {
            installError = new std::string(error);
        }
    }
    static void TearDownTestSuite() {
        if (prefix != nullptr) {
            std::error_code ignored;
            fs::remove_all(fs::path(*prefix).parent_path(), ignored);
        }
        delete prefix;
        delete installError;
        prefix = nullptr;
        installError = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(nullptr, prefix) << "no temporary folder";
        ASSERT_EQ(nullptr, installError) << *installError;
        std::string pattern = (fs::temp_directory_path() / "vellicor-user-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        folder = pattern;
        // An xdg-open that writes each argument on a line of opened.txt.
        fs::create_directories(folder / "bin");
        std::ofstream(folder / "bin" / "xdg-open")
            << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" << (folder / "opened.txt").string() << "'\n";
        fs::permissions(folder / "bin" / "xdg-open", fs::perms::owner_all);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    static fs::path Installed(const std::string& relative) { return fs::path(*prefix) / relative; }
    static fs::path Vellicor() { return Installed("bin/vellicor"); }
    static fs::path PluginFolder() { return Installed(VLH_INSTALL_PLUGINDIR); }
    static fs::path Manual() { return PluginFolder() / "vlh_help" / "Honer-Manual-123.pdf"; }

    // The environment of a user: the recording xdg-open first on PATH, own
    // settings, and a display only when asked.
    std::vector<ChildProcess::EnvironmentChange> User(bool withDisplay) const {
        const char* path = std::getenv("PATH");
        std::vector<ChildProcess::EnvironmentChange> changes = {
            {"PATH", (folder / "bin").string() + ":" + (path != nullptr ? path : "/usr/bin:/bin")},
            {"XDG_CONFIG_HOME", (folder / "config").string()}};
        if (!withDisplay) {
            changes.push_back({"DISPLAY", std::nullopt});
            changes.push_back({"WAYLAND_DISPLAY", std::nullopt});
        }
        return changes;
    }

    // What the module asked the system to open, one path a line.
    std::string Opened() const { return ReadAll(folder / "opened.txt"); }

    static std::string* prefix;
    static std::string* installError;
    fs::path folder;
};

std::string* InstallTest::prefix = nullptr;
std::string* InstallTest::installError = nullptr;

TEST_F(InstallTest, LaysOutTheCommandTheModuleAndItsManual) {
    struct stat command {};
    ASSERT_EQ(0, stat(Vellicor().c_str(), &command)) << Vellicor();
    EXPECT_NE(0u, command.st_mode & S_IXUSR);
    EXPECT_TRUE(fs::is_regular_file(PluginFolder() / "Honer.8li"));
    ASSERT_TRUE(fs::is_regular_file(Manual()));
    EXPECT_EQ(ReadAll(VLH_BUILT_MANUAL), ReadAll(Manual())) << "the installed manual is not the one built";
    EXPECT_EQ(ReadAll(VLH_HONER_PATH), ReadAll(PluginFolder() / "Honer.8li"));
}

// Every plug-in replaying a recorded Help step: the manual beside the
// installed module is opened, nothing is played, nothing is left alive.
TEST_F(InstallTest, AReplayedHelpStepOpensTheInstalledManual) {
    const std::string expected = Manual().string() + "\n";
    for (const char* plugin : {"Vellicor Capture Honer", "Vellicor Creative Honer", "Vellicor Output Honer",
                               "Vellicor Capture Honer Expert"}) {
        SCOPED_TRACE(plugin);
        fs::remove(folder / "opened.txt");
        ChildProcess run(
            {Vellicor().string(), "run", "--plugin", plugin, "--set", "**Help**", "--effect", "**Index**"},
            User(false), folder.string());
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(0, run.Wait(std::chrono::seconds(60))) << run.Output() << run.Errors();
        const std::string output = run.Output();
        EXPECT_NE(std::string::npos, output.find("(" + (PluginFolder() / "Honer.8li").string() + ")"))
            << "the installed command did not use the installed module:\n"
            << output;
        EXPECT_NE(std::string::npos, output.find("events     0 played")) << output;
        EXPECT_NE(std::string::npos, output.find("accounting clean")) << output;
        EXPECT_EQ(expected, Opened());
    }
    EXPECT_TRUE(fs::is_regular_file(Manual()));
}

// The Help button of the Output plug-in's dialog, pressed with its Alt+H.
TEST_F(InstallTest, TheDialogsHelpButtonOpensTheInstalledManual) {
    dialogs::XSession x;
    ASSERT_TRUE(x.Ok()) << "no X server with the XTest extension";
    ChildProcess run({Vellicor().string(), "run", "--dialog", "--plugin", "Vellicor Output Honer"},
                     User(true), folder.string());
    ASSERT_TRUE(run.Started());
    int ticksSinceFocus = -1;
    const auto status = run.Wait(std::chrono::seconds(90), [&] {
        if (ticksSinceFocus < 0) {
            for (unsigned long window : x.TopLevelWindows()) {
                const auto geometry = x.Geometry(window);
                const unsigned long owner = x.TransientFor(window);
                if (geometry && geometry->viewable && owner != 0 && x.Title(owner) == "Vellicor Host" &&
                    x.Title(window) == "Vellicor Output Honer by Corvane Labs") {
                    x.Focus(window);
                    ticksSinceFocus = 0;
                }
            }
        } else if (++ticksSinceFocus == 8) {
            x.PressKey("h", "Alt_L");
        }
    });
    EXPECT_GE(ticksSinceFocus, 8) << "no dialog over the host's window";
    EXPECT_EQ(0, status) << run.Output() << run.Errors();
    EXPECT_NE(std::string::npos, run.Output().find("accounting clean")) << run.Output();
    EXPECT_NE(std::string::npos, run.Output().find("events     0 played")) << run.Output();
    EXPECT_EQ(Manual().string() + "\n", Opened());
    EXPECT_TRUE(fs::is_regular_file(Manual()));
}

// The installed command makes the same manual on demand, from the installed
// module it finds by itself.
TEST_F(InstallTest, TheInstalledCommandMakesTheSameManual) {
    const fs::path made = folder / "again.pdf";
    ChildProcess manual({Vellicor().string(), "manual", "-o", made.string()}, User(false), folder.string());
    ASSERT_EQ(0, manual.Wait(std::chrono::minutes(3))) << manual.Output() << manual.Errors();
    EXPECT_EQ(PdfPages(Manual().string()), PdfPages(made.string()));
}

} // namespace
} // namespace vlh::manualtest
