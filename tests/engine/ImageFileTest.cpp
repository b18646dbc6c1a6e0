#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "TestImages.h"
#include "host/engine/Blend.h"
#include "host/engine/EngineError.h"
#include "host/engine/Filters.h"
#include "host/engine/ImageFile.h"

namespace vhost::engine {
namespace {

using test::TempDir;

constexpr int kWidth = 37;
constexpr int kHeight = 23;

// An image as a file would hold it: 8 or 16 bits, RGB or RGBA, with a
// resolution and, optionally, an ICC profile.
vips::VImage SourceImage(int depth, bool alpha, const std::string& profile, double ppi) {
    const int bands = alpha ? 4 : 3;
    const size_t count = static_cast<size_t>(kWidth * kHeight * bands);
    vips::VImage image;
    if (depth == 16) {
        image = test::U16Image(kWidth, kHeight, bands, test::Varied16(count, 11));
    } else {
        std::vector<uint8_t> values(count);
        for (size_t i = 0; i < count; ++i) {
            values[i] = static_cast<uint8_t>(i * 7 + i / 5);
        }
        image = test::U8Image(kWidth, kHeight, bands, values);
    }
    image = image.copy(
        vips::VImage::option()
            ->set("interpretation", depth == 16 ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB)
            ->set("xres", ppi / 25.4)
            ->set("yres", ppi / 25.4));
    if (!profile.empty()) {
        vips_image_set_blob_copy(image.get_image(), VIPS_META_ICC_NAME, profile.data(), profile.size());
    }
    return image;
}

// Every value of the stored image, alpha included.
std::vector<uint16_t> StoredValues(const vips::VImage& image) {
    if (image.format() == VIPS_FORMAT_USHORT) {
        return test::U16Pixels(image);
    }
    const std::vector<uint8_t> bytes = test::U8Pixels(image);
    return std::vector<uint16_t>(bytes.begin(), bytes.end());
}

std::string MessageOf(const std::function<void()>& call, int16_t expectedCode) {
    try {
        call();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Code(), expectedCode) << e.what();
        return e.what();
    }
    ADD_FAILURE() << "no error";
    return {};
}

struct RoundTrip {
    const char* extension;
    int depth;
    bool alpha;
};

class SaveAndLoad : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(SaveAndLoad, KeepsSizeDepthProfileResolutionAlphaAndEveryValue) {
    const RoundTrip& c = GetParam();
    const TempDir dir;
    const std::string profile = test::IccProfileBytes("Round Trip RGB", c.depth == 16);
    const vips::VImage source = SourceImage(c.depth, c.alpha, profile, 300.0);
    const Picture picture = OpenPicture(source, "memory");
    ASSERT_EQ(picture.depth, c.depth);
    ASSERT_EQ(picture.alpha.has_value(), c.alpha);

    const std::string path = dir.File(std::string("out.") + c.extension);
    SavePicture(picture, path);
    const Picture back = LoadPicture(path);

    EXPECT_EQ(back.width, kWidth);
    EXPECT_EQ(back.height, kHeight);
    EXPECT_EQ(back.depth, c.depth);
    // PNG stores whole pixels per metre: 11811 ppm is 299.999 ppi.
    if (std::string(c.extension) == "png") {
        EXPECT_EQ(back.resolution, 299.999);
    } else {
        EXPECT_EQ(back.resolution, 300.0);
    }
    EXPECT_EQ(back.profileName, "Round Trip RGB");
    EXPECT_EQ(back.iccProfile, profile);
    ASSERT_EQ(back.alpha.has_value(), c.alpha);
    const vips::VImage stored = vips::VImage::new_from_file(path.c_str());
    EXPECT_EQ(StoredValues(stored), StoredValues(source));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{std::string("out.") + c.extension});
}

INSTANTIATE_TEST_SUITE_P(Engine, SaveAndLoad,
                         ::testing::Values(RoundTrip{"tif", 8, false}, RoundTrip{"tif", 16, false},
                                           RoundTrip{"tiff", 16, true}, RoundTrip{"png", 8, true},
                                           RoundTrip{"png", 16, false}, RoundTrip{"png", 16, true},
                                           RoundTrip{"TIF", 8, true}));

struct Refusal {
    const char* name;
    std::function<void(const std::string&)> write;
    const char* mode;
};

class RefusedImages : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedImages, NameTheirModeAndWhatIsAccepted) {
    const TempDir dir;
    const std::string path = dir.File(GetParam().name);
    GetParam().write(path);
    const std::string message = MessageOf([&] { LoadPicture(path); }, code::kParamErr);
    EXPECT_NE(message.find(std::string(GetParam().mode) + " mode"), std::string::npos) << message;
    EXPECT_NE(message.find("RGB images of 8 or 16 bits per channel"), std::string::npos) << message;
    EXPECT_NE(message.find(path), std::string::npos) << message;
}

vips::VImage Grey(int bands, VipsBandFormat format) {
    vips::VImage grey = test::FlatRgb(4, 4, 0.5f, 0.5f, 0.5f).extract_band(0);
    if (bands > 1) {
        grey = grey.bandjoin_const(std::vector<double>(static_cast<size_t>(bands - 1), 1.0));
    }
    return grey.linear(200.0, 0.0)
        .cast(format)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_B_W));
}

INSTANTIATE_TEST_SUITE_P(
    Engine, RefusedImages,
    ::testing::Values(
        Refusal{"grey.tif", [](const std::string& p) { Grey(1, VIPS_FORMAT_UCHAR).tiffsave(p.c_str()); },
                "Grayscale"},
        Refusal{"grey16a.png", [](const std::string& p) { Grey(2, VIPS_FORMAT_USHORT).pngsave(p.c_str()); },
                "Grayscale"},
        Refusal{"cmyk.tif",
                [](const std::string& p) {
                    Grey(4, VIPS_FORMAT_UCHAR)
                        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_CMYK))
                        .tiffsave(p.c_str());
                },
                "CMYK"},
        Refusal{"indexed.png",
                [](const std::string& p) {
                    test::FlatRgb(4, 4, 0.2f, 0.4f, 0.6f)
                        .linear(255.0, 0.0)
                        .cast(VIPS_FORMAT_UCHAR)
                        .pngsave(p.c_str(), vips::VImage::option()->set("palette", true));
                },
                "Indexed Color"},
        Refusal{"float.tif",
                [](const std::string& p) {
                    test::FlatRgb(4, 4, 0.2f, 0.4f, 0.6f)
                        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
                        .tiffsave(p.c_str());
                },
                "RGB"}));

TEST(LoadPicture, RefusesAnImageTooLargeToDecodeBeforeDecodingIt) {
    // 65535 x 65535 RGB claimed over four stored pixels: 12.9 GB decoded.
    const TempDir dir;
    test::WriteBytes(dir.File("huge.tif"), test::RgbTiffBytesWithoutResolution(65535, 65535));
    const std::string message = MessageOf([&] { LoadPicture(dir.File("huge.tif")); }, code::kParamErr);
    EXPECT_NE(message.find("too large: 65535 x 65535"), std::string::npos) << message;
    // 30000 x 30000 is 2.7 GB: opened (and never decoded here).
    test::WriteBytes(dir.File("large.tif"), test::RgbTiffBytesWithoutResolution(30000, 30000));
    EXPECT_EQ(LoadPicture(dir.File("large.tif")).width, 30000);
}

TEST(SavePicture, RefusesWhatTheFormatCannotHold) {
    const TempDir dir;
    const Picture deep = OpenPicture(SourceImage(16, false, "", 72), "memory");
    const Picture withAlpha = OpenPicture(SourceImage(8, true, "", 72), "memory");
    EXPECT_NE(MessageOf([&] { SavePicture(deep, dir.File("a.jpg")); }, code::kParamErr).find("8 bits"),
              std::string::npos);
    EXPECT_NE(MessageOf([&] { SavePicture(withAlpha, dir.File("a.jpeg")); }, code::kParamErr).find("alpha"),
              std::string::npos);
    MessageOf([&] { SavePicture(deep, dir.File("a.bmp")); }, code::kParamErr);
    MessageOf([&] { SavePicture(deep, dir.File("noextension")); }, code::kParamErr);
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(SavePicture, NeverOverTheSourceUnlessAsked) {
    const TempDir dir;
    const std::string path = dir.File("photo.tif");
    SourceImage(16, false, "", 72).tiffsave(path.c_str());
    const std::string before = test::ReadBytes(path);
    const Picture picture = LoadPicture(path);
    const Picture inverted{picture.width,
                           picture.height,
                           picture.depth,
                           picture.resolution,
                           picture.profileName,
                           picture.iccProfile,
                           picture.rgb.linear(-1.0, 1.0),
                           picture.alpha};
    MessageOf([&] { SavePicture(inverted, path, {path, false}); }, code::kParamErr);
    EXPECT_EQ(test::ReadBytes(path), before);
    SavePicture(inverted, path, {path, true});
    EXPECT_NE(test::ReadBytes(path), before);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"photo.tif"});
}

TEST(SavePicture, AFailedWriteLeavesTheOldFileAndNoTemporary) {
    const TempDir dir;
    SourceImage(16, false, "", 72).pngsave(dir.File("in.png").c_str());
    // Cut the file short: the header reads, the pixels do not.
    const std::string bytes = test::ReadBytes(dir.File("in.png"));
    test::WriteBytes(dir.File("cut.png"), bytes.substr(0, bytes.size() / 2));
    test::WriteBytes(dir.File("out.tif"), "previous contents");
    const Picture cut = LoadPicture(dir.File("cut.png"));
    MessageOf([&] { SavePicture(cut, dir.File("out.tif")); }, code::kParamErr);
    EXPECT_EQ(test::ReadBytes(dir.File("out.tif")), "previous contents");
    auto entries = dir.Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"cut.png", "in.png", "out.tif"}));
    MessageOf([&] { SavePicture(cut, dir.File("no/such/folder/x.tif")); }, code::kParamErr);
}

} // namespace
} // namespace vhost::engine
