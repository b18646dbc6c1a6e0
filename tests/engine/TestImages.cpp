#include "TestImages.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <utility>

#include <glib.h>

#include "host/engine/Vips.h"

namespace vhost::engine::test {

namespace {

template <typename T>
vips::VImage FromValues(int width, int height, int bands, const std::vector<T>& values,
                        VipsBandFormat format) {
    StartVips();
    if (values.size() !=
        static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(bands)) {
        throw std::invalid_argument("value count does not match the image size");
    }
    // new_from_memory_copy keeps its own copy of the values.
    VipsImage* image = vips_image_new_from_memory_copy(values.data(), values.size() * sizeof(T), width,
                                                       height, bands, format);
    if (image == nullptr) {
        throw vips::VError();
    }
    return vips::VImage(image);
}

template <typename T>
std::vector<T> ToValues(const vips::VImage& image, VipsBandFormat format) {
    if (image.format() != format) {
        throw std::invalid_argument("image is not of the expected format");
    }
    size_t size = 0;
    std::unique_ptr<void, void (*)(void*)> data(image.write_to_memory(&size), g_free);
    std::vector<T> values(size / sizeof(T));
    std::memcpy(values.data(), data.get(), values.size() * sizeof(T));
    return values;
}

void PutU16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

void PutU32(std::string& s, uint32_t v) {
    PutU16(s, static_cast<uint16_t>(v & 0xFFFF));
    PutU16(s, static_cast<uint16_t>(v >> 16));
}

void PutBE32(std::string& s, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        s += static_cast<char>(v >> shift & 0xFF);
    }
}

void PutTiffEntry(std::string& s, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    PutU16(s, tag);
    PutU16(s, type);
    PutU32(s, count);
    PutU32(s, value);
}

} // namespace

vips::VImage FloatImage(int width, int height, int bands, const std::vector<float>& values) {
    return FromValues(width, height, bands, values, VIPS_FORMAT_FLOAT);
}

vips::VImage FlatRgb(int width, int height, float r, float g, float b) {
    std::vector<float> values;
    for (int i = 0; i < width * height; ++i) {
        values.insert(values.end(), {r, g, b});
    }
    return FloatImage(width, height, 3, values);
}

vips::VImage U8Image(int width, int height, int bands, const std::vector<uint8_t>& values) {
    return FromValues(width, height, bands, values, VIPS_FORMAT_UCHAR);
}

vips::VImage U16Image(int width, int height, int bands, const std::vector<uint16_t>& values) {
    return FromValues(width, height, bands, values, VIPS_FORMAT_USHORT);
}

std::vector<float> FloatPixels(const vips::VImage& image) {
    return ToValues<float>(image, VIPS_FORMAT_FLOAT);
}
std::vector<uint8_t> U8Pixels(const vips::VImage& image) {
    return ToValues<uint8_t>(image, VIPS_FORMAT_UCHAR);
}
std::vector<uint16_t> U16Pixels(const vips::VImage& image) {
    return ToValues<uint16_t>(image, VIPS_FORMAT_USHORT);
}

std::vector<uint16_t> Varied16(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint16_t> values(count);
    for (size_t i = 0; i < count; ++i) {
        // Every fourth value is one of the extremes, the rest anything.
        const uint32_t r = random();
        values[i] = i % 4 == 0 ? static_cast<uint16_t>(r % 2 ? 65535 : 0) : static_cast<uint16_t>(r);
    }
    return values;
}

std::string IccProfileBytes(const std::string& description, bool version4) {
    std::string desc;
    if (version4) {
        desc = "mluc";
        PutBE32(desc, 0);
        PutBE32(desc, 1);  // records
        PutBE32(desc, 12); // record size
        desc += "enUS";
        PutBE32(desc, static_cast<uint32_t>(description.size() * 2));
        PutBE32(desc, 28); // text offset from the tag's start
        for (char c : description) {
            desc += '\0';
            desc += c;
        }
    } else {
        desc = "desc";
        PutBE32(desc, 0);
        PutBE32(desc, static_cast<uint32_t>(description.size() + 1));
        desc += description;
        desc += '\0';
        PutBE32(desc, 0);                      // Unicode language code
        PutBE32(desc, 0);                      // Unicode count
        desc += std::string(2 + 1 + 67, '\0'); // ScriptCode code, count, text
    }
    // The rest of a plausible display profile: white point, primaries, tone
    // curves (gamma 2.2), copyright. (A profile of little more than its
    // description compresses so well that libpng refuses it on reading.)
    const auto xyz = [](double x, double y, double z) {
        std::string t = "XYZ ";
        PutBE32(t, 0);
        for (double v : {x, y, z}) {
            PutBE32(t, static_cast<uint32_t>(std::lround(v * 65536)));
        }
        return t;
    };
    std::string curve = "curv";
    PutBE32(curve, 0);
    PutBE32(curve, 1);
    curve += std::string("\x02\x33\0\0", 4);
    std::string copyright = "text";
    PutBE32(copyright, 0);
    copyright += std::string("No copyright, use freely", 25);
    const std::vector<std::pair<std::string, std::string>> tags = {
        {"desc", desc},
        {"wtpt", xyz(0.9642, 1.0, 0.8249)},
        {"rXYZ", xyz(0.4361, 0.2225, 0.0139)},
        {"gXYZ", xyz(0.3851, 0.7169, 0.0971)},
        {"bXYZ", xyz(0.1431, 0.0606, 0.7141)},
        {"rTRC", curve},
        {"gTRC", curve},
        {"bTRC", curve},
        {"cprt", copyright},
    };
    const auto first = static_cast<uint32_t>(128 + 4 + 12 * tags.size());
    std::string table;
    PutBE32(table, static_cast<uint32_t>(tags.size()));
    std::string data;
    for (auto [signature, tag] : tags) {
        while (tag.size() % 4 != 0) {
            tag += '\0';
        }
        table += signature;
        PutBE32(table, first + static_cast<uint32_t>(data.size()));
        PutBE32(table, static_cast<uint32_t>(tag.size()));
        data += tag;
    }
    std::string header;
    PutBE32(header, static_cast<uint32_t>(first + data.size()));
    header += "none";
    PutBE32(header, version4 ? 0x04300000 : 0x02100000);
    header += "mntrRGB XYZ ";
    header += std::string(12, '\0'); // date
    header += "acsp";
    header += std::string(128 - header.size(), '\0');
    // Illuminant D50 at 68..79.
    std::string d50;
    PutBE32(d50, 0x0000F6D6);
    PutBE32(d50, 0x00010000);
    PutBE32(d50, 0x0000D32D);
    header.replace(68, 12, d50);
    return header + table + data;
}

std::string RgbTiffBytesWithoutResolution(uint16_t width, uint16_t height) {
    std::string s = "II";
    PutU16(s, 42);
    PutU32(s, 8 + 12 + 6);
    s += std::string("\x10\x20\x30\x40\x50\x60\x70\x80\x90\xA0\xB0\xC0", 12);
    PutU16(s, 8);
    PutU16(s, 8); // bits per sample, three of them
    PutU16(s, 8);
    PutU16(s, 8);
    PutTiffEntry(s, 256, 3, 1, width);
    PutTiffEntry(s, 257, 3, 1, height);
    PutTiffEntry(s, 258, 3, 3, 8 + 12); // bits per sample
    PutTiffEntry(s, 259, 3, 1, 1);      // no compression
    PutTiffEntry(s, 262, 3, 1, 2);      // photometric: RGB
    PutTiffEntry(s, 273, 4, 1, 8);      // strip offset
    PutTiffEntry(s, 277, 3, 1, 3);      // samples per pixel
    PutTiffEntry(s, 279, 4, 1, 12);     // strip byte count
    PutU32(s, 0);
    return s;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vhost-engine-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace vhost::engine::test
