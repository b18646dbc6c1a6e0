// `vellicor manual` as a user runs it: its usage errors, a module it cannot
// use, an output it cannot write, and a manual made on demand that is the
// document the build made.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/dialogs/ChildProcess.h"
#include "tests/manual/Poppler.h"
#include "tests/support/EndToEnd.h"

namespace vlh::manualtest {
namespace {

namespace fs = std::filesystem;
using dialogs::ChildProcess;

class ManualCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vellicor-manual-command-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // Runs `vellicor manual ARGS` with no display and private settings; its
    // exit status (-1 when it did not end).
    int Manual(const std::vector<std::string>& args, std::string* output = nullptr,
               std::string* errors = nullptr) {
        std::vector<std::string> argv = {VLH_VELLICOR_PATH, "manual"};
        argv.insert(argv.end(), args.begin(), args.end());
        ChildProcess child(argv, {{"XDG_CONFIG_HOME", folder}, {"DISPLAY", std::nullopt}}, folder);
        const std::optional<int> status = child.Wait(std::chrono::minutes(3));
        if (output != nullptr) {
            *output = child.Output();
        }
        if (errors != nullptr) {
            *errors = child.Errors();
        }
        return status.value_or(-1);
    }

    std::string folder;
};

TEST_F(ManualCommandTest, UsageErrorsExitWithTwo) {
    std::string errors;
    EXPECT_EQ(2, Manual({}, nullptr, &errors));
    EXPECT_NE(std::string::npos, errors.find("-o FILE.pdf is required")) << errors;
    EXPECT_EQ(2, Manual({"-o"}, nullptr, &errors));
    EXPECT_EQ(2, Manual({"-o", folder + "/m.pdf", "--colour", "red"}, nullptr, &errors));
    EXPECT_NE(std::string::npos, errors.find("unknown option --colour")) << errors;
    std::string output;
    EXPECT_EQ(0, Manual({"--help"}, &output));
    EXPECT_NE(std::string::npos, output.find("usage: vellicor manual -o FILE.pdf")) << output;
}

TEST_F(ManualCommandTest, AFileThatIsNoModuleGivesOneAndNoManual) {
    const std::string fake = folder + "/Honer.8li";
    std::ofstream(fake) << "not a module";
    std::string errors;
    EXPECT_EQ(1, Manual({"-o", folder + "/m.pdf", "--module", fake}, nullptr, &errors));
    EXPECT_NE(std::string::npos, errors.find("vellicor manual: ")) << errors;
    EXPECT_FALSE(fs::exists(folder + "/m.pdf"));
    EXPECT_FALSE(fs::exists(folder + "/m.pdf.part"));
}

TEST_F(ManualCommandTest, AnOutputThatCannotBeWrittenGivesOneAndLeavesNothing) {
    std::string errors;
    EXPECT_EQ(1, Manual({"-o", folder + "/no/such/folder/m.pdf", "--module", vhost::e2e::HonerPath()},
                        nullptr, &errors));
    EXPECT_NE(std::string::npos, errors.find("cannot write")) << errors;
    EXPECT_FALSE(fs::exists(folder + "/no"));
}

TEST_F(ManualCommandTest, OnDemandItMakesTheDocumentTheBuildMade) {
    const std::string made = folder + "/Manual.pdf";
    std::string output;
    ASSERT_EQ(0, Manual({"-o", made, "--module", vhost::e2e::HonerPath()}, &output)) << output;
    EXPECT_NE(std::string::npos, output.find("host accounting clean")) << output;
    EXPECT_EQ(PdfInfo(VLH_BUILT_MANUAL).at("Pages"), PdfInfo(made).at("Pages"));
    EXPECT_EQ(PdfPages(VLH_BUILT_MANUAL), PdfPages(made));
    // Making it remembered no choice for the user.
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_NE("vellicor-registry", entry.path().filename().string());
    }
}

} // namespace
} // namespace vlh::manualtest
