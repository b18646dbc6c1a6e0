// vips_unsharp IN OUT AMOUNT RADIUS
//
// The least a libvips program does for an unsharp mask, file to file: one
// top-to-bottom read, out = in + (in - Gaussian(in, radius)) x amount/100,
// clipped back to the input's format. The reference the engine is timed
// against.
#include <cstdio>
#include <cstdlib>

#include <vips/vips8>

int main(int argc, char** argv) {
    if (VIPS_INIT(argv[0]) != 0 || argc != 5) {
        std::fprintf(stderr, "usage: vips_unsharp IN OUT AMOUNT RADIUS\n");
        return 2;
    }
    try {
        using vips::VImage;
        const VImage in =
            VImage::new_from_file(argv[1], VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
        const VImage blurred =
            in.gaussblur(std::atof(argv[4]),
                         VImage::option()->set("min_ampl", 0.01)->set("precision", VIPS_PRECISION_FLOAT));
        const VImage out = in + (in - blurred) * (std::atof(argv[3]) / 100.0);
        out.cast(in.format()).write_to_file(argv[2]);
    } catch (const vips::VError& e) {
        std::fprintf(stderr, "vips_unsharp: %s\n", e.what());
        return 1;
    }
    return 0;
}
