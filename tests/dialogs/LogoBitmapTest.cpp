// The about box's logo as the module carries it, and the bitmap writer that
// made it, checked against an independent decoder (GdkPixbuf).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "about/AboutDlg.h"
#include "tests/dialogs/DecodedPicture.h"
#include "tools/logo/Rle8Bitmap.h"

namespace vlh::dialogs {
namespace {

uint32_t Read32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint32_t Read16(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

TEST(AboutLogoTest, TheEmbeddedLogoHasTheBitmapLayout) {
    ASSERT_GT(kAboutPictureSize, 1078u);
    const unsigned char* p = kAboutPicture;
    EXPECT_EQ(0, std::memcmp(p, "BM", 2));
    struct Field {
        const char* what;
        size_t offset;
        int bytes;
        uint32_t expected;
    };
    const Field fields[] = {
        {"file size", 2, 4, kAboutPictureSize},
        {"reserved", 6, 4, 0},
        {"pixel data offset", 10, 4, 1078},
        {"info header size", 14, 4, 40},
        {"width", 18, 4, 504},
        {"height (bottom-up)", 22, 4, 216},
        {"planes", 26, 2, 1},
        {"bits per pixel", 28, 2, 8},
        {"compression (RLE8)", 30, 4, 1},
        {"pixel data size", 34, 4, kAboutPictureSize - 1078},
        {"horizontal pixels per metre", 38, 4, 2834},
        {"vertical pixels per metre", 42, 4, 2834},
        {"colours used (all)", 46, 4, 0},
        {"important colours", 50, 4, 0},
    };
    for (const Field& f : fields) {
        EXPECT_EQ(f.expected, f.bytes == 4 ? Read32(p + f.offset) : Read16(p + f.offset)) << f.what;
    }
    // Every row ends with end-of-line, the last with end-of-bitmap.
    EXPECT_EQ(0, p[kAboutPictureSize - 2]);
    EXPECT_EQ(1, p[kAboutPictureSize - 1]);
}

TEST(AboutLogoTest, TheModuleCarriesTheCommittedLogo) {
    std::ifstream file(VLH_ABOUT_PICTURE, std::ios::binary);
    ASSERT_TRUE(file) << VLH_ABOUT_PICTURE;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), kAboutPictureSize);
    EXPECT_EQ(0, std::memcmp(bytes.data(), kAboutPicture, bytes.size()));
}

TEST(AboutLogoTest, TheLogoDecodesToAPictureOf504By216) {
    const auto logo = DecodePicture(kAboutPicture, kAboutPictureSize);
    ASSERT_TRUE(logo.has_value());
    EXPECT_EQ(504, logo->width);
    EXPECT_EQ(216, logo->height);
    const std::set<uint32_t> colours(logo->pixels.begin(), logo->pixels.end());
    EXPECT_GT(colours.size(), 16u) << "the logo is not drawn";
}

// ---- the writer -------------------------------------------------------------

vtools::IndexedPicture Picture(int width, int height, std::vector<uint8_t> pixels) {
    vtools::IndexedPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels = std::move(pixels);
    for (int i = 0; i < 256; ++i) {
        picture.palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    }
    return picture;
}

struct RowCase {
    const char* what;
    std::vector<uint8_t> row;
    std::vector<uint8_t> encoded;
};

TEST(LogoRle8WriterTest, EncodesRowsInRunsAndAbsoluteStretches) {
    const RowCase cases[] = {
        {"one pixel", {5}, {1, 5}},
        {"two different pixels", {1, 2}, {1, 1, 1, 2}},
        {"three different pixels, padded", {1, 2, 3}, {0, 3, 1, 2, 3, 0}},
        {"four different pixels", {1, 2, 3, 4}, {0, 4, 1, 2, 3, 4}},
        {"a run", {4, 4, 4}, {3, 4}},
        {"singles before a run", {1, 2, 3, 3}, {1, 1, 1, 2, 2, 3}},
        {"a run longer than 255", std::vector<uint8_t>(300, 9), {255, 9, 45, 9}},
    };
    for (const RowCase& c : cases) {
        EXPECT_EQ(c.encoded, vtools::EncodeRle8Row(c.row.data(), c.row.size())) << c.what;
    }
}

// Whatever the rows hold, an independent decoder reads back every pixel.
TEST(LogoRle8WriterTest, AnIndependentDecoderReadsBackEveryPixel) {
    std::mt19937 random(20240601);
    struct Shape {
        const char* what;
        int width, height;
        std::vector<uint8_t> pixels;
    };
    std::vector<Shape> shapes = {
        {"one pixel", 1, 1, {200}},
        {"runs over 255", 600, 2, {}},
        {"alternating", 301, 3, {}},
        {"noise", 257, 5, {}},
        {"odd stretches between runs", 97, 4, {}},
    };
    shapes[1].pixels.assign(1200, 3);
    std::fill(shapes[1].pixels.begin() + 600, shapes[1].pixels.end(), 250);
    for (int i = 0; i < 301 * 3; ++i) {
        shapes[2].pixels.push_back(uint8_t(i % 2 == 0 ? 17 : 18));
    }
    for (int i = 0; i < 257 * 5; ++i) {
        shapes[3].pixels.push_back(uint8_t(random()));
    }
    for (int i = 0; i < 97 * 4; ++i) {
        shapes[4].pixels.push_back(uint8_t((i / 5) % 3 == 0 ? 40 : i % 251));
    }

    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.what);
        const vtools::IndexedPicture picture = Picture(shape.width, shape.height, shape.pixels);
        const std::vector<uint8_t> file = vtools::WriteRle8Bitmap(picture);
        const auto decoded = DecodePicture(file.data(), file.size());
        ASSERT_TRUE(decoded.has_value());
        ASSERT_EQ(shape.width, decoded->width);
        ASSERT_EQ(shape.height, decoded->height);
        size_t wrong = 0;
        for (size_t i = 0; i < shape.pixels.size(); ++i) {
            const vtools::Rgb c = picture.palette[shape.pixels[i]];
            wrong += decoded->pixels[i] != (uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b) ? 1 : 0;
        }
        EXPECT_EQ(0u, wrong);
    }
}

TEST(LogoRle8WriterTest, RefusesAPictureThatIsNotWhatItSays) {
    EXPECT_THROW(vtools::WriteRle8Bitmap(Picture(0, 1, {})), vtools::BitmapError);
    EXPECT_THROW(vtools::WriteRle8Bitmap(Picture(2, 2, {1, 2, 3})), vtools::BitmapError);
    EXPECT_THROW(vtools::WriteRle8Bitmap(Picture(40000, 1, std::vector<uint8_t>(40000))),
                 vtools::BitmapError);
}

TEST(LogoPpmReaderTest, TurnsColoursIntoPaletteIndicesInOrderOfFirstAppearance) {
    const std::string ppm =
        std::string("P6\n# drawn\n3 1\n255\n") + "\x10\x20\x30" + "\x01\x02\x03" + "\x10\x20\x30";
    const vtools::IndexedPicture picture = vtools::ReadPpmAsIndexed(ppm);
    EXPECT_EQ(3, picture.width);
    EXPECT_EQ(1, picture.height);
    EXPECT_EQ((std::vector<uint8_t>{0, 1, 0}), picture.pixels);
    EXPECT_EQ((vtools::Rgb{0x10, 0x20, 0x30}), picture.palette[0]);
    EXPECT_EQ((vtools::Rgb{0x01, 0x02, 0x03}), picture.palette[1]);
}

TEST(LogoPpmReaderTest, RefusesWhatItCannotStore) {
    std::string manyColours = "P6 257 1 255\n";
    for (int i = 0; i < 257; ++i) {
        manyColours += std::string{char(i & 0xFF), char(i >> 8), 0};
    }
    const std::pair<const char*, std::string> cases[] = {
        {"text PPM", "P3 1 1 255\n0 0 0\n"},
        {"16-bit PPM", std::string("P6 1 1 65535\n") + std::string(6, '\0')},
        {"cut short", "P6 2 2 255\n\x01\x02\x03"},
        {"no size", "P6\n"},
        {"a side too long", "P6 99999999 1 255\n"},
        {"more than 256 colours", manyColours},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_THROW(vtools::ReadPpmAsIndexed(bytes), vtools::BitmapError) << what;
    }
}

} // namespace
} // namespace vlh::dialogs
