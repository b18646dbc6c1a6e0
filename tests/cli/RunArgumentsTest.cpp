// The words of `vellicor run` sorted into images and options, and the plan of
// where the results go.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/cli/RunArguments.h"
#include "host/cli/RunOutputs.h"
#include "tests/cli/CliSupport.h"

namespace vhost::cli::test {
namespace {

namespace fs = std::filesystem;

using Words = std::vector<std::string>;

const Words kFlags = {"dialog", "overwrite", "calls"};

struct SplitCase {
    Words args;
    Words options;
    Words images;
};

TEST(SplitImages, FindsTheImagesAmongTheOptions) {
    const SplitCase cases[] = {
        {{"a.tif", "-o", "b.tif", "--plugin", "P"}, {"--output", "b.tif", "--plugin", "P"}, {"a.tif"}},
        {{"--plugin", "P", "a.tif", "b.png", "-o", "out"},
         {"--plugin", "P", "--output", "out"},
         {"a.tif", "b.png"}},
        // A flag takes no value: the word after it is an image.
        {{"--dialog", "a.tif", "--calls", "b.tif"}, {"--dialog", "--calls"}, {"a.tif", "b.tif"}},
        // An option's value is never an image, even one that looks like a file.
        {{"--set", "x.tif", "a.tif"}, {"--set", "x.tif"}, {"a.tif"}},
        {{"--set=x.tif", "a.tif"}, {"--set=x.tif"}, {"a.tif"}},
        {{"-oout.tif", "a.tif"}, {"--output", "out.tif"}, {"a.tif"}},
        // After "--" everything is an image.
        {{"--plugin", "P", "--", "-odd.tif", "--calls"}, {"--plugin", "P"}, {"-odd.tif", "--calls"}},
        // An unknown short option stays for the parser to refuse.
        {{"-x", "a.tif"}, {"-x"}, {"a.tif"}},
        {{"-o"}, {"--output"}, {}},
    };
    for (const SplitCase& c : cases) {
        const SplitArguments split = SplitImages(c.args, kFlags);
        EXPECT_EQ(c.options, split.options) << ::testing::PrintToString(c.args);
        EXPECT_EQ(c.images, split.images) << ::testing::PrintToString(c.args);
    }
}

TEST(WithoutOptions, DropsTheNamedOptionsWithTheirValues) {
    const Words options = {"--plugin", "P",     "--output", "o",       "--dialog",
                           "--jobs=2", "--set", "--jobs",   "--calls", "--jobs"};
    // "--set" takes "--jobs" as its value, which is then no option.
    EXPECT_EQ((Words{"--plugin", "P", "--set", "--jobs", "--calls"}),
              WithoutOptions(options, {"output", "jobs", "dialog"}, kFlags));
    EXPECT_EQ(options, WithoutOptions(options, {}, kFlags));
}

TEST(PlanOutputs, OneImageWritesTheFileNamedOrIntoTheFolderNamed) {
    Folder folder;
    fs::create_directory(folder.File("out"));
    std::vector<ImageTarget> targets;
    ASSERT_EQ(std::nullopt, PlanOutputs({"in/a.tif"}, folder.File("b.PNG"), false, targets));
    ASSERT_EQ(1u, targets.size());
    EXPECT_EQ(folder.File("b.PNG"), targets[0].output);
    ASSERT_EQ(std::nullopt, PlanOutputs({"in/a.tif"}, folder.File("out"), false, targets));
    EXPECT_EQ(folder.File("out/a.tif"), targets[0].output);
}

TEST(PlanOutputs, SeveralImagesKeepTheirNamesInTheFolder) {
    Folder folder;
    std::vector<ImageTarget> targets;
    ASSERT_EQ(std::nullopt, PlanOutputs({"x/a.tif", "y/b.jpg"}, folder.File("new"), false, targets));
    ASSERT_EQ(2u, targets.size());
    EXPECT_EQ("x/a.tif", targets[0].input);
    EXPECT_EQ(folder.File("new/a.tif"), targets[0].output);
    EXPECT_EQ(folder.File("new/b.jpg"), targets[1].output);
    EXPECT_FALSE(fs::exists(folder.File("new"))) << "planning makes nothing";
}

TEST(PlanOutputs, RefusesWhatCannotWork) {
    Folder folder;
    std::ofstream(folder.File("a.tif")) << "x";
    std::ofstream(folder.File("file.png")) << "x";
    struct Case {
        Words images;
        std::string output;
        bool overwrite;
        std::string says; // empty: the plan is fine
    };
    const Case cases[] = {
        {{"a.tif"}, folder.File("a.gif"), false, "must end in"},
        {{"a.tif"}, folder.File("noextension"), false, "must end in"},
        {{folder.File("a.tif")}, folder.File("a.tif"), false, "would replace the image itself"},
        {{folder.File("a.tif")}, folder.File("a.tif"), true, ""},
        {{folder.File("a.tif"), "b.tif"}, folder.Path().string(), false, "would replace the image itself"},
        {{folder.File("a.tif"), "b.tif"}, folder.Path().string(), true, ""},
        {{"x/a.tif", "y/a.tif"}, folder.File("out"), false, "two images are called \"a.tif\""},
        {{"a.tif", "b.tif"}, folder.File("file.png"), false, "is a file"},
        {{"a.tif"}, "", false, "-o OUT"},
    };
    for (const Case& c : cases) {
        std::vector<ImageTarget> targets;
        const auto why = PlanOutputs(c.images, c.output, c.overwrite, targets);
        if (c.says.empty()) {
            EXPECT_EQ(std::nullopt, why) << c.output;
            EXPECT_EQ(c.images.size(), targets.size());
        } else {
            ASSERT_NE(std::nullopt, why) << c.output;
            EXPECT_TRUE(Contains(*why, c.says)) << *why;
            EXPECT_TRUE(targets.empty());
        }
    }
}

} // namespace
} // namespace vhost::cli::test
