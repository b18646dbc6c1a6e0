// `vellicor run IMAGE... -o OUT` as a user runs it: the real module in the
// real host on image files. Formats and depths in and out, what is kept,
// what a failure leaves behind, the images refused before the module is
// called, and several images into a folder. Every run that reaches the module
// must report the host's accounting clean.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "tests/cli/CliSupport.h"
#include "tests/support/EndToEnd.h"

namespace vhost::cli::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kGlossy = {"--plugin", "Vellicor Output Honer",
                                          "--set",    "Inkjet Output Honers",
                                          "--effect", "Glossy and Lustre Paper, 300 ppi"};

class RunImages : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(e2e::HonerPath().empty()); }

    Finished Run(const std::vector<std::string>& images, const std::string& out,
                 std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"run", "--module", e2e::HonerPath()};
        args.insert(args.end(), images.begin(), images.end());
        args.insert(args.end(), {"-o", out});
        args.insert(args.end(), kGlossy.begin(), kGlossy.end());
        args.insert(args.end(), more.begin(), more.end());
        return Vellicor(args, folder);
    }

    std::string Write(const vips::VImage& image, const std::string& name) {
        const std::string path = folder.File(name);
        image.write_to_file(path.c_str());
        return path;
    }

    // No temporary file of a save is left in the folder.
    void ExpectNoTemporaries() {
        for (const std::string& name : folder.Entries()) {
            EXPECT_NE('.', name[0]) << name;
        }
    }

    e2e::PrivateSettingsFolder settings;
    Folder folder;
};

double PixelsPerInch(const vips::VImage& image) {
    return image.xres() * 25.4;
}

struct FormatCase {
    const char* input;
    int depth;
    bool alpha;
    const char* output;
};

TEST_F(RunImages, KeepDepthProfileResolutionAndAlphaFromFormatToFormat) {
    const FormatCase cases[] = {
        {"in8.tif", 8, false, "out8.tif"},      {"in16.tif", 16, false, "out16.tif"},
        {"in8a.png", 8, true, "out8a.png"},     {"in16a.png", 16, true, "out16a.png"},
        {"in8.jpg", 8, false, "out8.jpg"},      {"in16a.tif", 16, true, "out16a-from-tif.png"},
        {"in8b.png", 8, false, "out8b.tif"},    {"in8c.jpg", 8, false, "out8c.png"},
        {"in16b.png", 16, false, "out16b.tiff"}};
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(std::string(c.input) + " -> " + c.output);
        const std::string in = Write(TestPicture(c.depth, c.alpha), c.input);
        const std::string inBytes = ReadBytes(in);
        const Finished f = Run({in}, folder.File(c.output));
        ASSERT_EQ(0, f.status) << f.out << f.err;
        EXPECT_EQ("", f.err);
        EXPECT_TRUE(Contains(f.out, "\naccounting clean\n")) << f.out;
        EXPECT_TRUE(Contains(f.out, "\nsaved      " + folder.File(c.output) + "\n")) << f.out;
        EXPECT_EQ(inBytes, ReadBytes(in)) << "the input changed";

        const vips::VImage before = vips::VImage::new_from_file(in.c_str());
        const vips::VImage after = vips::VImage::new_from_file(folder.File(c.output).c_str());
        EXPECT_EQ(before.width(), after.width());
        EXPECT_EQ(before.height(), after.height());
        EXPECT_EQ(c.depth == 16 ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR, after.format());
        EXPECT_EQ(c.alpha ? 4 : 3, after.bands());
        EXPECT_EQ(SrgbProfile(), ProfileOf(after));
        EXPECT_NEAR(PixelsPerInch(before), PixelsPerInch(after), 0.01);
        if (c.alpha) {
            EXPECT_EQ(Values(before.extract_band(3)), Values(after.extract_band(3))) << "alpha changed";
        }
        // Sharpened: the colour changed, its average did not (an unsharp mask
        // adds as much as it takes).
        const vips::VImage rgbBefore = before.extract_band(0, vips::VImage::option()->set("n", 3));
        const vips::VImage rgbAfter = after.extract_band(0, vips::VImage::option()->set("n", 3));
        EXPECT_NE(Values(rgbBefore), Values(rgbAfter));
        const double scale = c.depth == 16 ? 65535.0 : 255.0;
        EXPECT_NEAR(rgbBefore.avg() / scale, rgbAfter.avg() / scale, 0.004);
        EXPECT_GT(rgbAfter.deviate(), rgbBefore.deviate()) << "edges did not gain contrast";
    }
    ExpectNoTemporaries();
}

TEST_F(RunImages, EightAndSixteenBitsOfOneImageComeOutAlike) {
    const std::string in8 = Write(TestPicture(8, false), "in8.png");
    const std::string in16 = Write(TestPicture(16, false), "in16.png");
    for (const auto& [in, out] : {std::pair{in8, "out8.png"}, std::pair{in16, "out16.png"}}) {
        const Finished f = Run({in}, folder.File(out));
        ASSERT_EQ(0, f.status) << f.err;
        EXPECT_TRUE(Contains(f.out, "\naccounting clean\n")) << f.out;
    }
    const std::vector<double> out8 = Values(vips::VImage::new_from_file(folder.File("out8.png").c_str()));
    const std::vector<double> out16 = Values(vips::VImage::new_from_file(folder.File("out16.png").c_str()));
    ASSERT_EQ(out8.size(), out16.size());
    double sum = 0;
    double most = 0;
    for (size_t i = 0; i < out8.size(); ++i) {
        const double d = std::fabs(out8[i] - out16[i] / 257.0);
        sum += d;
        most = std::max(most, d);
    }
    // The inputs differ by the 8-bit rounding, which sharpening amplifies a
    // little; thresholds and radii are the same at both depths.
    EXPECT_LT(sum / static_cast<double>(out8.size()), 0.5);
    EXPECT_LE(most, 4.0);
}

TEST_F(RunImages, AFailedEffectLeavesTheImageAndAnEarlierResultUntouched) {
    const std::string in = Write(TestPicture(16, true), "in.tif");
    const std::string out = Write(TestPicture(8, false, 20, 10), "out.png");
    const std::string inBytes = ReadBytes(in);
    const std::string outBytes = ReadBytes(out);
    // The fourth Play, the unsharp mask, fails as a host would fail it.
    const Finished f = Run({in}, out, {"--fail-call", "Control.Play:4"});
    EXPECT_EQ(1, f.status);
    EXPECT_TRUE(Contains(f.err, "Vellicor Output Honer... failed with -25920")) << f.err;
    EXPECT_TRUE(Contains(f.err, "nothing was written")) << f.err;
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n")) << f.out;
    EXPECT_FALSE(Contains(f.out, "\nsaved ")) << f.out;
    EXPECT_EQ(inBytes, ReadBytes(in));
    EXPECT_EQ(outBytes, ReadBytes(out));
    ExpectNoTemporaries();
}

TEST_F(RunImages, AFileCutShortFailsWhenWrittenAndLeavesTheEarlierResult) {
    // A PNG's header comes first: the file opens, and fails as it is decoded.
    const std::string whole = ReadBytes(Write(TestPicture(16, false), "whole.png"));
    const std::string in = folder.File("cut.png");
    {
        std::ofstream cut(in, std::ios::binary);
        cut.write(whole.data(), static_cast<std::streamsize>(whole.size() / 2));
    }
    const std::string out = Write(TestPicture(8, false, 20, 10), "out.tif");
    const std::string outBytes = ReadBytes(out);
    const Finished f = Run({in}, out);
    EXPECT_EQ(1, f.status) << f.out;
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n")) << f.out;
    EXPECT_TRUE(Contains(f.err, "cannot save")) << f.err;
    EXPECT_TRUE(Contains(f.err, "are as they were")) << f.err;
    EXPECT_EQ(outBytes, ReadBytes(out));
    ExpectNoTemporaries();
}

struct RefusedCase {
    const char* name;
    const char* mode; // as the message names it
};

TEST_F(RunImages, ImagesThePlugInsAreNotEnabledForAreRefusedBeforeTheModuleIsCalled) {
    const vips::VImage rgb = TestPicture(8, false);
    const vips::VImage grey = rgb.colourspace(VIPS_INTERPRETATION_B_W);
    const vips::VImage cmyk =
        rgb.bandjoin(rgb.extract_band(0))
            .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_CMYK));
    Write(grey, "grey.png");
    Write((grey.cast(VIPS_FORMAT_USHORT) * 257).cast(VIPS_FORMAT_USHORT), "grey16.tif");
    Write(cmyk, "cmyk.tif");
    Write(cmyk, "cmyk.jpg");
    rgb.pngsave(folder.File("indexed.png").c_str(), vips::VImage::option()->set("palette", true));
    Write(rgb.cast(VIPS_FORMAT_FLOAT) / 255.0, "float.tif");
    const RefusedCase cases[] = {{"grey.png", "Grayscale mode at 8 bits per channel"},
                                 {"grey16.tif", "Grayscale mode at 16 bits per channel"},
                                 {"cmyk.tif", "CMYK mode"},
                                 {"cmyk.jpg", "CMYK mode"},
                                 {"indexed.png", "Indexed Color mode"},
                                 {"float.tif", "RGB mode at 32 bits per channel, floating point"}};
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Finished f = Run({folder.File(c.name)}, folder.File("out.tif"));
        EXPECT_EQ(1, f.status);
        EXPECT_TRUE(Contains(f.err, c.mode)) << f.err;
        EXPECT_TRUE(Contains(f.err, "the plug-ins accept RGB images of 8 or 16 bits per channel")) << f.err;
        // No report: the module was never loaded.
        EXPECT_EQ("", f.out);
        EXPECT_FALSE(fs::exists(folder.File("out.tif")));
    }
}

TEST_F(RunImages, AResultReplacesItsImageOnlyWhenAskedTo) {
    const std::string in = Write(TestPicture(8, false), "in.png");
    const std::string bytes = ReadBytes(in);
    const Finished refused = Run({in}, in);
    EXPECT_EQ(2, refused.status);
    EXPECT_TRUE(Contains(refused.err, "add --overwrite")) << refused.err;
    EXPECT_EQ(bytes, ReadBytes(in));

    const Finished replaced = Run({in}, in, {"--overwrite"});
    ASSERT_EQ(0, replaced.status) << replaced.err;
    EXPECT_TRUE(Contains(replaced.out, "\naccounting clean\n")) << replaced.out;
    EXPECT_NE(bytes, ReadBytes(in));
    EXPECT_EQ(std::vector<std::string>{"in.png"}, folder.Entries());
}

TEST_F(RunImages, SeveralImagesGoIntoAFolderEachAsAloneTwoAtATime) {
    std::vector<std::string> inputs;
    inputs.push_back(Write(TestPicture(8, false), "a.png"));
    inputs.push_back(Write(TestPicture(16, true), "b.tif"));
    inputs.push_back(Write(TestPicture(8, false, 120, 90), "c.jpg"));
    inputs.push_back(Write(TestPicture(16, false, 90, 120), "d.png"));
    const std::string out = folder.File("results");
    // A worker exits with 0 only when its host's accounting was clean.
    const Finished f = Run(inputs, out, {"--jobs", "2"});
    ASSERT_EQ(0, f.status) << f.out << f.err;
    EXPECT_EQ("", f.err);
    EXPECT_TRUE(Contains(f.out, "4 of 4 images written to " + out)) << f.out;
    for (const std::string& input : inputs) {
        const std::string name = fs::path(input).filename().string();
        SCOPED_TRACE(name);
        EXPECT_TRUE(Contains(f.out, "written  " + input + " -> " + (fs::path(out) / name).string())) << f.out;
        // The same pixels as the image run on its own.
        const std::string alone = folder.File("alone-" + name);
        const Finished single = Run({input}, alone);
        ASSERT_EQ(0, single.status) << single.err;
        EXPECT_TRUE(Contains(single.out, "\naccounting clean\n")) << single.out;
        EXPECT_EQ(Values(vips::VImage::new_from_file(alone.c_str())),
                  Values(vips::VImage::new_from_file((fs::path(out) / name).c_str())));
    }
}

TEST_F(RunImages, OneFailedImageOfSeveralIsNamedAndTheOthersAreWritten) {
    const std::string good = Write(TestPicture(8, false), "good.png");
    const std::string grey = Write(TestPicture(8, false).colourspace(VIPS_INTERPRETATION_B_W), "grey.png");
    const std::string other = Write(TestPicture(16, false), "other.tif");
    const std::string out = folder.File("results");
    const Finished f = Run({good, grey, other}, out, {"--jobs", "1"});
    EXPECT_EQ(1, f.status);
    EXPECT_TRUE(Contains(f.out, "FAILED   " + grey + ": \"" + grey + "\" is in Grayscale mode")) << f.out;
    EXPECT_TRUE(Contains(f.out, "2 of 3 images written")) << f.out;
    EXPECT_TRUE(fs::exists(fs::path(out) / "good.png"));
    EXPECT_TRUE(fs::exists(fs::path(out) / "other.tif"));
    EXPECT_FALSE(fs::exists(fs::path(out) / "grey.png"));
}

// No display for the commands it runs, for as long as it lives.
class NoDisplay {
public:
    NoDisplay() {
        if (const char* display = std::getenv("DISPLAY")) {
            previous_ = display;
            unsetenv("DISPLAY");
        }
    }
    ~NoDisplay() {
        if (previous_) {
            setenv("DISPLAY", previous_->c_str(), 1);
        }
    }
    NoDisplay(const NoDisplay&) = delete;
    NoDisplay& operator=(const NoDisplay&) = delete;

private:
    std::optional<std::string> previous_;
};

TEST_F(RunImages, WithTheDialogTheFirstImageChoosesAndNothingRunsWhenItIsNotConfirmed) {
    const std::string a = Write(TestPicture(8, false), "a.png");
    const std::string b = Write(TestPicture(8, false), "b.png");
    const std::string out = folder.File("results");
    const NoDisplay noDisplay;
    const Finished f = Run({a, b}, out, {"--dialog"});
    EXPECT_EQ(1, f.status);
    EXPECT_TRUE(Contains(f.out, "FAILED   " + a + ": Vellicor Output Honer... failed with 1")) << f.out;
    EXPECT_TRUE(Contains(f.out, "the other image was left alone")) << f.out;
    EXPECT_FALSE(Contains(f.out, b)) << "the second image was run";
    EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(RunImages, UnusableOutputsAreRefusedBeforeAnythingRuns) {
    const std::string a = Write(TestPicture(8, false), "a.png");
    fs::create_directory(folder.File("sub"));
    const std::string alsoA = Write(TestPicture(8, false), "sub/a.png");
    const std::string file = Write(TestPicture(8, false, 10, 10), "file.png");
    struct Case {
        std::vector<std::string> images;
        std::string out;
        std::string says;
    };
    const Case cases[] = {{{a}, folder.File("a.bmp"), "must end in .tif, .tiff, .png, .jpg or .jpeg"},
                          {{a, alsoA}, folder.File("results"), "two images are called \"a.png\""},
                          {{a, file}, file, "is a file"},
                          {{a, file}, folder.Path().string(), "would replace the image itself"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out);
        const Finished f = Run(c.images, c.out);
        EXPECT_EQ(2, f.status);
        EXPECT_TRUE(Contains(f.err, c.says)) << f.err;
        EXPECT_EQ("", f.out);
    }
    EXPECT_FALSE(fs::exists(folder.File("results")));
}

} // namespace
} // namespace vhost::cli::test
