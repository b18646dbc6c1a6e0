// The default image: the test chart the build draws. The same pixels every
// time, what a file of ours must hold, and the kinds of detail it promises.
#include <gtest/gtest.h>

#include "host/engine/IccProfile.h"
#include "resources/images/Chart.h"
#include "tests/cli/CliSupport.h"

namespace vhost::cli::test {
namespace {

using namespace vtools::chart;

vips::VImage Area(const vips::VImage& chart, int left, int top, int width, int height) {
    return chart.extract_area(left, top, width, height).cast(VIPS_FORMAT_DOUBLE) / 65535.0;
}

// The mean absolute difference between neighbouring pixels: how much fine
// detail an area holds.
double Busyness(const vips::VImage& area) {
    const int w = area.width();
    const int h = area.height();
    const vips::VImage dx = area.extract_area(1, 0, w - 1, h) - area.extract_area(0, 0, w - 1, h);
    const vips::VImage dy = area.extract_area(0, 1, w, h - 1) - area.extract_area(0, 0, w, h - 1);
    return (dx.abs().avg() + dy.abs().avg()) / 2;
}

class Chart : public ::testing::Test {
protected:
    static void SetUpTestSuite() { chart = new vips::VImage(RenderChart()); }
    static void TearDownTestSuite() { delete chart; }
    static vips::VImage* chart;
};

vips::VImage* Chart::chart = nullptr;

TEST_F(Chart, IsSixteenBitSrgbAtThreeHundredPpi) {
    EXPECT_EQ(kChartWidth, chart->width());
    EXPECT_EQ(kChartHeight, chart->height());
    EXPECT_EQ(3, chart->bands());
    EXPECT_EQ(VIPS_FORMAT_USHORT, chart->format());
    EXPECT_EQ(VIPS_INTERPRETATION_RGB16, chart->interpretation());
    EXPECT_NEAR(300.0, chart->xres() * 25.4, 1e-9);
    const std::string profile = ProfileOf(*chart);
    EXPECT_EQ(SrgbProfile(), profile);
    EXPECT_EQ(std::optional<std::string>("sRGB"), engine::IccDescription(profile));
}

TEST_F(Chart, IsTheSamePixelsEveryTimeAndTheBuiltFileHoldsThem) {
    const std::vector<double> again = Values(RenderChart());
    EXPECT_EQ(Values(*chart), again);
    const vips::VImage built = vips::VImage::new_from_file(VLH_DEFAULT_IMAGE);
    EXPECT_EQ(VIPS_FORMAT_USHORT, built.format());
    EXPECT_EQ(ProfileOf(*chart), ProfileOf(built));
    EXPECT_NEAR(300.0, built.xres() * 25.4, 1e-3);
    EXPECT_EQ(again, Values(built)) << "the default image was drawn by another generator";
}

TEST_F(Chart, HoldsFineDetailSmoothGradientsSkinAndLittleNoise) {
    // The full tonal range.
    EXPECT_LT(chart->min() / 65535.0, 0.05);
    EXPECT_GT(chart->max() / 65535.0, 0.95);
    // The detail area's text is busy, its sky smooth: only the noise moves.
    const double text = Busyness(Area(*chart, 446, 290, 140, 80));
    const double sky = Busyness(Area(*chart, 716, 446, 40, 24));
    EXPECT_GT(text, 8 * sky);
    EXPECT_GT(sky, 0.001) << "no noise at all";
    EXPECT_LT(sky, 0.01) << "too noisy for a low-ISO camera";
    // The star's spokes, 6 px apart at this radius, keep nearly full contrast.
    EXPECT_GT(Area(*chart, 200, 130, 40, 20).deviate(), 0.3);
    // Skin: warm, red above green above blue, in the middle of the range.
    const std::vector<double> skin = Values(Area(*chart, 500, 470, 8, 8).stats().extract_area(4, 1, 1, 3));
    ASSERT_EQ(3u, skin.size());
    EXPECT_GT(skin[0], skin[1]);
    EXPECT_GT(skin[1], skin[2]);
    EXPECT_GT(skin[2], 0.3);
    EXPECT_LT(skin[0], 0.95);
    // The grey ramp rises steadily from black to white.
    double previous = -1;
    for (int x = 470; x < 1180; x += 50) {
        const double v = Area(*chart, x, 560, 4, 20).avg();
        EXPECT_GT(v, previous) << x;
        previous = v;
    }
}

} // namespace
} // namespace vhost::cli::test
