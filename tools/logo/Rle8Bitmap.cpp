#include "tools/logo/Rle8Bitmap.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace vtools {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 256 * 4;
constexpr uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize; // 1078
constexpr uint32_t kCompressionRle8 = 1;
constexpr int32_t kPixelsPerMetre = 2834; // 72 dpi
constexpr size_t kMaxRun = 255;

void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

// Differing indices: three or more go in absolute mode, fewer as runs of one
// (absolute mode needs at least three).
void FlushLiterals(std::vector<uint8_t>& out, std::vector<uint8_t>& literals) {
    if (literals.size() >= 3) {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(literals.size()));
        out.insert(out.end(), literals.begin(), literals.end());
        if (literals.size() % 2 != 0) {
            out.push_back(0);
        }
    } else {
        for (uint8_t index : literals) {
            out.push_back(1);
            out.push_back(index);
        }
    }
    literals.clear();
}

} // namespace

std::vector<uint8_t> EncodeRle8Row(const uint8_t* row, size_t width) {
    std::vector<uint8_t> out;
    std::vector<uint8_t> literals;
    size_t x = 0;
    while (x < width) {
        size_t run = 1;
        while (x + run < width && run < kMaxRun && row[x + run] == row[x]) {
            ++run;
        }
        if (run >= 2) {
            FlushLiterals(out, literals);
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(row[x]);
        } else {
            literals.push_back(row[x]);
            if (literals.size() == kMaxRun) {
                FlushLiterals(out, literals);
            }
        }
        x += run;
    }
    FlushLiterals(out, literals);
    return out;
}

std::vector<uint8_t> WriteRle8Bitmap(const IndexedPicture& picture) {
    if (picture.width < 1 || picture.height < 1 || picture.width > 32767 || picture.height > 32767) {
        throw BitmapError("a bitmap is 1 to 32767 pixels a side");
    }
    const size_t width = static_cast<size_t>(picture.width);
    const size_t height = static_cast<size_t>(picture.height);
    if (picture.pixels.size() != width * height) {
        throw BitmapError("the pixel count does not match the size");
    }

    // Bottom-up: the last row first; every row ends with end-of-line, the
    // last one with end-of-bitmap.
    std::vector<uint8_t> data;
    for (size_t y = height; y-- > 0;) {
        const std::vector<uint8_t> row = EncodeRle8Row(&picture.pixels[y * width], width);
        data.insert(data.end(), row.begin(), row.end());
        data.push_back(0);
        data.push_back(y == 0 ? 1 : 0);
    }

    std::vector<uint8_t> file;
    file.reserve(kPixelOffset + data.size());
    file.push_back('B');
    file.push_back('M');
    Put32(file, static_cast<uint32_t>(kPixelOffset + data.size()));
    Put32(file, 0); // reserved
    Put32(file, kPixelOffset);

    Put32(file, kInfoHeaderSize);
    Put32(file, static_cast<uint32_t>(picture.width));
    Put32(file, static_cast<uint32_t>(picture.height)); // positive: bottom-up
    Put16(file, 1);                                     // planes
    Put16(file, 8);                                     // bits per pixel
    Put32(file, kCompressionRle8);
    Put32(file, static_cast<uint32_t>(data.size()));
    Put32(file, static_cast<uint32_t>(kPixelsPerMetre));
    Put32(file, static_cast<uint32_t>(kPixelsPerMetre));
    Put32(file, 0); // colours used: all 256
    Put32(file, 0); // important colours: all

    for (const Rgb& c : picture.palette) {
        file.push_back(c.b);
        file.push_back(c.g);
        file.push_back(c.r);
        file.push_back(0);
    }
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

namespace {

// Reads the next header number of a PPM, skipping blanks and comments.
long ReadPpmNumber(const std::string& bytes, size_t& at) {
    while (at < bytes.size()) {
        if (bytes[at] == '#') {
            while (at < bytes.size() && bytes[at] != '\n') {
                ++at;
            }
        } else if (std::isspace(static_cast<unsigned char>(bytes[at]))) {
            ++at;
        } else {
            break;
        }
    }
    long value = 0;
    size_t digits = 0;
    while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])) && digits < 6) {
        value = value * 10 + (bytes[at] - '0');
        ++at;
        ++digits;
    }
    if (digits == 0 || (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])))) {
        throw BitmapError("the PPM header holds no usable number");
    }
    return value;
}

} // namespace

IndexedPicture ReadPpmAsIndexed(const std::string& bytes) {
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') {
        throw BitmapError("not a binary PPM (P6)");
    }
    size_t at = 2;
    const long width = ReadPpmNumber(bytes, at);
    const long height = ReadPpmNumber(bytes, at);
    const long maximum = ReadPpmNumber(bytes, at);
    if (maximum != 255) {
        throw BitmapError("only 8-bit PPM files (maximum 255) are read");
    }
    if (width < 1 || height < 1 || width > 32767 || height > 32767) {
        throw BitmapError("a bitmap is 1 to 32767 pixels a side");
    }
    if (at >= bytes.size() || !std::isspace(static_cast<unsigned char>(bytes[at]))) {
        throw BitmapError("the PPM header does not end in a blank");
    }
    ++at;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (bytes.size() - at < count * 3) {
        throw BitmapError("the PPM file is cut short");
    }

    IndexedPicture picture;
    picture.width = static_cast<int32_t>(width);
    picture.height = static_cast<int32_t>(height);
    picture.pixels.resize(count);
    std::map<uint32_t, uint8_t> indices;
    for (size_t i = 0; i < count; ++i) {
        const Rgb c{static_cast<uint8_t>(bytes[at + 3 * i]), static_cast<uint8_t>(bytes[at + 3 * i + 1]),
                    static_cast<uint8_t>(bytes[at + 3 * i + 2])};
        const uint32_t key = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
        auto found = indices.find(key);
        if (found == indices.end()) {
            if (indices.size() == 256) {
                throw BitmapError("the picture has more than 256 colours");
            }
            const auto index = static_cast<uint8_t>(indices.size());
            picture.palette[index] = c;
            found = indices.emplace(key, index).first;
        }
        picture.pixels[i] = found->second;
    }
    return picture;
}

} // namespace vtools
