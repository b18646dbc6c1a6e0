// honer-chart OUT: writes the test chart that the `vellicor` command and the
// demo use as their default image (see Chart.h for what it shows).
#include <cstdio>
#include <exception>

#include "resources/images/Chart.h"

int main(int argc, char** argv) {
    if (VIPS_INIT(argv[0]) != 0) {
        std::fprintf(stderr, "honer-chart: libvips cannot start\n");
        return 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: honer-chart OUT.tif\n");
        return 2;
    }
    try {
        vtools::chart::WriteChart(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "honer-chart: cannot write %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
