// Small images made in the tests, and their pixels read back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <vips/vips8>

namespace vhost::engine::test {

// A float image of `bands` bands from interleaved values (row by row).
vips::VImage FloatImage(int width, int height, int bands, const std::vector<float>& values);
// A float RGB image of one colour.
vips::VImage FlatRgb(int width, int height, float r, float g, float b);
// An 8- or 16-bit image from interleaved values.
vips::VImage U8Image(int width, int height, int bands, const std::vector<uint8_t>& values);
vips::VImage U16Image(int width, int height, int bands, const std::vector<uint16_t>& values);

// The pixels, computed, as interleaved values. The image must be of that format.
std::vector<float> FloatPixels(const vips::VImage& image);
std::vector<uint8_t> U8Pixels(const vips::VImage& image);
std::vector<uint16_t> U16Pixels(const vips::VImage& image);

// Values 0..65535 that cover every byte pattern of both bytes, for data that
// must survive bit for bit.
std::vector<uint16_t> Varied16(size_t count, uint32_t seed);

// An ICC profile (RGB display class, XYZ connection space) whose only tag is
// its description: a version 2 'desc' text, or a version 4 'mluc' record
// (English, UTF-16).
std::string IccProfileBytes(const std::string& description, bool version4);

// An 8-bit RGB TIFF without resolution tags, as bytes: 2x2 pixels, or any
// size claimed over the same four pixels.
std::string RgbTiffBytesWithoutResolution(uint16_t width = 2, uint16_t height = 2);

// A folder of its own for a test's files, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Names of the entries in the folder.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

} // namespace vhost::engine::test
