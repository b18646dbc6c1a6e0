// bmprle8: turns a picture of at most 256 colours, given as a binary PPM,
// into an 8-bit run-length encoded Windows bitmap file.
//
//   bmprle8 INPUT.ppm OUTPUT.bmp
//
// Exit status 0 on success, 1 when the input is refused, 2 for bad usage.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/logo/Rle8Bitmap.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bmprle8 INPUT.ppm OUTPUT.bmp\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "bmprle8: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string ppm((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        const std::vector<uint8_t> bmp = vtools::WriteRle8Bitmap(vtools::ReadPpmAsIndexed(ppm));
        const std::string temporary = std::string(argv[2]) + ".tmp";
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
        out.close();
        if (!out || std::rename(temporary.c_str(), argv[2]) != 0) {
            std::remove(temporary.c_str());
            std::fprintf(stderr, "bmprle8: cannot write %s\n", argv[2]);
            return 1;
        }
        std::printf("%s: %zu bytes\n", argv[2], bmp.size());
        return 0;
    } catch (const vtools::BitmapError& e) {
        std::fprintf(stderr, "bmprle8: %s: %s\n", argv[1], e.what());
        return 1;
    }
}
