#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "TestImages.h"
#include "host/engine/Convolve.h"
#include "host/engine/EngineError.h"
#include "host/engine/Filters.h"

namespace vhost::engine {
namespace {

using test::FlatRgb;
using test::FloatImage;
using test::FloatPixels;

vips::VImage Noise(int width, int height, uint32_t seed, int bands = 3) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> values(static_cast<size_t>(width * height * bands));
    for (float& v : values) {
        v = unit(random);
    }
    return FloatImage(width, height, bands, values);
}

// A vertical edge: `low` left of column width/2, `high` from it on.
vips::VImage Step(int width, int height, float low, float high) {
    std::vector<float> values;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float v = x < width / 2 ? low : high;
            values.insert(values.end(), {v, v, v});
        }
    }
    return FloatImage(width, height, 3, values);
}

// Red channel of row y.
std::vector<float> Row(const std::vector<float>& pixels, int width, int y) {
    std::vector<float> row;
    for (int x = 0; x < width; ++x) {
        row.push_back(pixels[static_cast<size_t>((y * width + x) * 3)]);
    }
    return row;
}

int16_t CodeOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const EngineError& e) {
        return e.Code();
    }
    return 0;
}

TEST(UnsharpMask, AmountZeroReturnsTheInputExactly) {
    const vips::VImage in = Noise(32, 24, 1);
    EXPECT_EQ(FloatPixels(UnsharpMask(in, 0.0, 2.0, 0)), FloatPixels(in));
}

TEST(UnsharpMask, SteepensAnEdgeWithEqualHalosAndLeavesFlatAreas) {
    const int width = 40;
    const std::vector<float> row =
        Row(FloatPixels(UnsharpMask(Step(width, 5, 0.25f, 0.75f), 100.0, 1.0, 0)), width, 2);
    const int edge = width / 2;
    EXPECT_LT(row[edge - 1], 0.25f - 0.05f); // dark halo
    EXPECT_GT(row[edge], 0.75f + 0.05f);     // light halo
    EXPECT_NEAR(0.25f - row[edge - 1], row[edge] - 0.75f, 1e-5f);
    EXPECT_NEAR(row[2], 0.25f, 1e-5f);
    EXPECT_NEAR(row[width - 3], 0.75f, 1e-5f);
}

// A mid-grey square with one raised pixel in its centre.
vips::VImage Impulse(int size, float height) {
    std::vector<float> values(static_cast<size_t>(size * size * 3), 0.5f);
    const size_t centre = static_cast<size_t>((size / 2 * size + size / 2) * 3);
    values[centre] = values[centre + 1] = values[centre + 2] = 0.5f + height;
    return FloatImage(size, size, 3, values);
}

TEST(UnsharpMask, ThresholdIsAGateNotASubtraction) {
    // The centre of a raised pixel differs from its blur by k x its height;
    // k is read from a run without threshold at amount 100 % (out - in = d).
    const int size = 15;
    const size_t centre = static_cast<size_t>((size / 2 * size + size / 2) * 3);
    const double radius = 1.0;
    const float k = (FloatPixels(UnsharpMask(Impulse(size, 0.1f), 100.0, radius, 0))[centre] - 0.6f) / 0.1f;
    ASSERT_GT(k, 0.5f);
    for (const int threshold : {1, 4, 12, 40}) {
        for (const int levels : {threshold - 1, threshold + 1}) {
            const float d = static_cast<float>(levels) / 255.0f;
            const vips::VImage in = Impulse(size, d / k);
            const std::vector<float> source = FloatPixels(in);
            const std::vector<float> out = FloatPixels(UnsharpMask(in, 150.0, radius, threshold));
            const float expected = levels < threshold ? source[centre] : source[centre] + 1.5f * d;
            EXPECT_NEAR(out[centre], expected, 2e-6f) << "threshold " << threshold << ", d " << levels;
            // The neighbours' differences are smaller still and below the gate
            // (for all but the lowest threshold, where every pixel sharpens).
            if (threshold > 1) {
                EXPECT_EQ(out[centre - 3], source[centre - 3]) << "threshold " << threshold;
            }
        }
    }
}

TEST(HighPass, FlatImageBecomesMidGrey) {
    for (float v : FloatPixels(HighPass(FlatRgb(16, 12, 0.9f, 0.1f, 0.4f), 4.0))) {
        EXPECT_NEAR(v, 0.5f, 1e-5f);
    }
}

TEST(GaussianBlur, EdgeFollowsTheNormalDistributionNarrowAndWide) {
    // A 0 | 1 edge between columns 119 and 120 becomes, at column x,
    // Phi((x - 119.5) / sigma), up to the sampling of the kernel. Sigma 30 is
    // the layered-box approximation, held to half a percent of full scale.
    const int width = 241;
    for (const auto& [sigma, tolerance] : {std::pair{3.0, 0.003}, std::pair{30.0, 0.005}}) {
        const std::vector<float> row =
            Row(FloatPixels(GaussianBlur(Step(width, 3, 0.0f, 1.0f), sigma)), width, 1);
        for (const double offset : {-1.5, -1.0, -0.5, 0.0, 0.5, 1.0, 1.5}) {
            const int x = static_cast<int>(std::lround(119.5 + offset * sigma + 0.5));
            const double phi = 0.5 * std::erfc(-(x - 119.5) / sigma / std::sqrt(2.0));
            EXPECT_NEAR(row[static_cast<size_t>(x)], phi, tolerance) << "sigma " << sigma << " x " << x;
        }
    }
}

TEST(ConvolveSeparable, EqualsLibvipsConvsepWithTheSameWeights) {
    // Edges extended by copying alike, on images narrower and shorter than
    // the kernel too.
    const std::vector<std::vector<float>> kernels = {
        {1.0f}, {0.25f, 0.5f, 0.25f}, {0.05f, 0.1f, 0.15f, 0.4f, 0.15f, 0.1f, 0.05f}};
    for (const std::vector<float>& kernel : kernels) {
        std::vector<double> weights(kernel.begin(), kernel.end());
        const vips::VImage matrix =
            vips::VImage::new_matrix(int(kernel.size()), 1, weights.data(), int(weights.size()));
        for (const auto& [width, height, bands] :
             {std::tuple{37, 23, 3}, std::tuple{3, 2, 1}, std::tuple{300, 40, 3}}) {
            const vips::VImage in = Noise(width, height, 7, bands);
            const std::vector<float> expected = FloatPixels(
                in.convsep(matrix, vips::VImage::option()->set("precision", VIPS_PRECISION_FLOAT)));
            const std::vector<float> got = FloatPixels(ConvolveSeparable(in, kernel));
            ASSERT_EQ(got.size(), expected.size());
            for (size_t i = 0; i < got.size(); ++i) {
                ASSERT_NEAR(got[i], expected[i], 2e-6f)
                    << kernel.size() << " weights, " << width << " x " << height << ", value " << i;
            }
        }
    }
}

TEST(Desaturate, GivesRec601LumaInEveryChannel) {
    // .299 x .2 + .587 x .4 + .114 x .6 = .363; pure red gives .299.
    const std::vector<float> out =
        FloatPixels(Desaturate(FloatImage(2, 1, 3, {0.2f, 0.4f, 0.6f, 1.0f, 0.0f, 0.0f})));
    const std::vector<float> expected = {0.363f, 0.363f, 0.363f, 0.299f, 0.299f, 0.299f};
    ASSERT_EQ(out.size(), expected.size());
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_NEAR(out[i], expected[i], 1e-6f);
    }
}

TEST(Invert, MirrorsEveryValue) {
    const std::vector<float> out = FloatPixels(Invert(FloatImage(1, 1, 3, {0.0f, 0.25f, 1.0f})));
    EXPECT_EQ(out, (std::vector<float>{1.0f, 0.75f, 0.0f}));
}

TEST(Filters, RefuseParametersOutOfRange) {
    const vips::VImage in = Noise(4, 4, 4);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::function<void()>> calls = {
        [&] { UnsharpMask(in, 100, 0.05, 0); },
        [&] { UnsharpMask(in, 100, 251, 0); },
        [&] { UnsharpMask(in, 100, nan, 0); },
        [&] { UnsharpMask(in, -1, 1, 0); },
        [&] { UnsharpMask(in, 501, 1, 0); },
        [&] { UnsharpMask(in, nan, 1, 0); },
        [&] { UnsharpMask(in, 100, 1, -1); },
        [&] { UnsharpMask(in, 100, 1, 256); },
        [&] { HighPass(in, 0.0); },
        [&] { HighPass(in, 1000.0); },
        [&] { GaussianBlur(in, -2.0); },
        [&] { GaussianBlur(in, nan); },
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(CodeOf(calls[i]), code::kInvalidParameters) << "call " << i;
    }
}

} // namespace
} // namespace vhost::engine
