// What the engine keeps of pixels so that a deep stack is made once: the row
// cache, and a file's decoded rows (in memory, or in a scratch file).
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "TestImages.h"
#include "host/engine/Blend.h"
#include "host/engine/Filters.h"
#include "host/engine/ImageFile.h"
#include "host/engine/PixelKernel.h"
#include "host/engine/RowCache.h"
#include "host/engine/ScratchFile.h"
#include "host/engine/Vips.h"

namespace vhost::engine {
namespace {

using test::FloatPixels;
using test::TempDir;

vips::VImage Noise(int width, int height, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> values(size_t(width) * size_t(height) * 3);
    for (float& v : values) {
        v = unit(random);
    }
    return test::FloatImage(width, height, 3, values);
}

// Points $TMPDIR at `folder` for as long as it lives.
class TmpDirSetTo {
public:
    explicit TmpDirSetTo(const std::string& folder) {
        if (const char* was = std::getenv("TMPDIR")) {
            was_ = was;
        }
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TmpDirSetTo() { was_.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", was_.c_str(), 1); }

private:
    std::string was_;
};

struct OneThread {
    const int was = vips_concurrency_get();
    OneThread() { vips_concurrency_set(1); }
    ~OneThread() { vips_concurrency_set(was); }
};

TEST(CacheRows, MakesTheRowsUnderABlurOnceAndGivesTheSamePixels) {
    // Without the cache a blur makes its source's rows again for every strip
    // it is asked for (its margins): half as many more at this radius. On
    // one thread, so that no reader falls behind by chance and has rows made
    // again for it.
    const OneThread oneThread;
    const int width = 700;
    const int height = 150;
    const vips::VImage noise = Noise(width, height, 3);
    auto made = std::make_shared<std::atomic<long>>(0);
    const vips::VImage counted = MapRows({noise}, 3, [made](const float* const* in, float* out, int pixels) {
        std::copy(in[0], in[0] + pixels * 3, out);
        *made += pixels;
    });
    EXPECT_EQ(FloatPixels(GaussianBlur(CacheRows(counted), 2.0)), FloatPixels(GaussianBlur(noise, 2.0)));
    EXPECT_GE(made->load(), long(width) * height);
    EXPECT_LE(made->load(), long(width) * height * 11 / 10);
}

TEST(CacheRows, ADeepStackReadLazilyEqualsTheStackMadeLayerByLayer) {
    // A restoring recipe's pattern: every round reads the same blurred layer
    // (so it is read at every depth, far apart) and the round before it.
    const vips::VImage noise = Noise(600, 200, 5);
    const vips::VImage blurred = GaussianBlur(noise, 0.8);
    vips::VImage lazy = noise;
    vips::VImage stepwise = noise;
    for (int round = 0; round < 10; ++round) {
        lazy = Blend(blurred, HighPass(lazy, 1.3), BlendMode::LinearLight, 0.5);
        stepwise = Blend(blurred, HighPass(stepwise, 1.3), BlendMode::LinearLight, 0.5).copy_memory();
    }
    EXPECT_EQ(FloatPixels(lazy), FloatPixels(stepwise));
}

TEST(CacheRows, ASourceThatFailsFailsTheReadInsteadOfHanging) {
    // 64 x 64 claimed over four stored pixels: the rows after them cannot be read.
    StartVips();
    const TempDir dir;
    test::WriteBytes(dir.File("short.tif"), test::RgbTiffBytesWithoutResolution(64, 64));
    const vips::VImage truncated =
        vips::VImage::new_from_file(dir.File("short.tif").c_str(),
                                    vips::VImage::option()->set("fail_on", VIPS_FAIL_ON_TRUNCATED))
            .cast(VIPS_FORMAT_FLOAT);
    EXPECT_THROW(FloatPixels(GaussianBlur(CacheRows(truncated), 1.0)), vips::VError);
}

TEST(ScratchFile, GivesBackWhatWasWrittenAndLeavesNothingInItsFolder) {
    const TempDir dir;
    const TmpDirSetTo tmp(dir.File(""));
    ScratchFile scratch;
    const std::string text = "rows kept for later";
    ASSERT_TRUE(scratch.Write(1000, text.data(), text.size()));
    std::string back(text.size(), '\0');
    ASSERT_TRUE(scratch.Read(1000, back.data(), back.size()));
    EXPECT_EQ(back, text);
    EXPECT_FALSE(scratch.Read(1010, back.data(), back.size())) << "past what was written";
    EXPECT_TRUE(dir.Entries().empty());

    const TmpDirSetTo missing(dir.File("missing"));
    EXPECT_THROW(ScratchFile(), std::system_error);
}

TEST(LoadPicture, KeepsALargeFilesRowsInAScratchFileAndReadsThemBackExactly) {
    // 4800 x 2400 16-bit RGB: 66 MB decoded, over the line for a scratch file.
    const TempDir dir;
    const TempDir scratch;
    const TmpDirSetTo tmp(scratch.File(""));
    const vips::VImage xy = vips::VImage::xyz(4800, 2400);
    const vips::VImage pattern = (xy[0] * 7 + xy[1] * 13).bandjoin(xy[0] * 3).bandjoin(xy[1] * 5) % 65536;
    pattern.cast(VIPS_FORMAT_USHORT)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16))
        .tiffsave(dir.File("large.tif").c_str());
    const Picture picture = LoadPicture(dir.File("large.tif"));
    const vips::VImage expected =
        vips::VImage::new_from_file(dir.File("large.tif").c_str()).linear(1.0 / 65535, 0.0);
    EXPECT_EQ((picture.rgb - expected).abs().max(), 0.0);
    // The rows went to an unlinked file in the scratch folder, still open.
    int inScratch = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        inScratch += std::filesystem::read_symlink(fd.path(), error).string().rfind(scratch.File(""), 0) == 0;
    }
    EXPECT_EQ(inScratch, 1);
    EXPECT_TRUE(scratch.Entries().empty());
}

} // namespace
} // namespace vhost::engine
