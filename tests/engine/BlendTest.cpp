#include <algorithm>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "TestImages.h"
#include "host/engine/Blend.h"

namespace vhost::engine {
namespace {

using test::FloatImage;
using test::FloatPixels;

constexpr float kTolerance = 1e-5f;

// Two pixels of backdrop and source, chosen so that every mode's branches are
// taken: channels on both sides of 0.5 and 0.25, and results that clip.
const std::vector<float> kBase = {0.2f, 0.8f, 0.5f, 0.64f, 0.04f, 1.0f};
const std::vector<float> kTop = {0.6f, 0.3f, 0.1f, 0.9f, 0.95f, 0.7f};

std::vector<float> BlendPixels(const std::vector<float>& base, const std::vector<float>& top, BlendMode mode,
                               double opacity) {
    const int width = static_cast<int>(base.size() / 3);
    return FloatPixels(Blend(FloatImage(width, 1, 3, base), FloatImage(width, 1, 3, top), mode, opacity));
}

void ExpectNear(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], kTolerance) << "value " << i;
    }
}

struct ModeCase {
    BlendMode mode;
    std::vector<float> expected; // worked out by hand from the mode's formula
};

class BlendModeValues : public ::testing::TestWithParam<ModeCase> {};

TEST_P(BlendModeValues, MatchHandComputedPixels) {
    ExpectNear(BlendPixels(kBase, kTop, GetParam().mode, 1.0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, BlendModeValues,
    ::testing::Values(ModeCase{BlendMode::Normal, {0.6f, 0.3f, 0.1f, 0.9f, 0.95f, 0.7f}},
                      ModeCase{BlendMode::Darken, {0.2f, 0.3f, 0.1f, 0.64f, 0.04f, 0.7f}},
                      ModeCase{BlendMode::Lighten, {0.6f, 0.8f, 0.5f, 0.9f, 0.95f, 1.0f}},
                      // b x s
                      ModeCase{BlendMode::Multiply, {0.12f, 0.24f, 0.05f, 0.576f, 0.038f, 0.7f}},
                      // b + s - b x s
                      ModeCase{BlendMode::Screen, {0.68f, 0.86f, 0.55f, 0.964f, 0.952f, 1.0f}},
                      // b <= .5: 2bs; else screen(s, 2b - 1): .9 + .28 - .252; .7 + 1 - .7
                      ModeCase{BlendMode::Overlay, {0.24f, 0.72f, 0.1f, 0.928f, 0.076f, 1.0f}},
                      // s <= .5: b - (1 - 2s) b (1 - b): .8 - .4 x .8 x .2, .5 - .8 x .5 x .5;
                      // s > .5: b + (2s - 1)(D(b) - b), D(.2) = ((3.2 - 12) .2 + 4) .2 = .448,
                      // D(.64) = .8, D(.04) = ((.64 - 12) .04 + 4) .04 = .141824, D(1) = 1
                      ModeCase{BlendMode::SoftLight, {0.2496f, 0.736f, 0.3f, 0.768f, 0.1316416f, 1.0f}},
                      // s <= .5: 2bs; else screen(b, 2s - 1): .2 + .2 - .04, .64 + .8 - .512
                      ModeCase{BlendMode::HardLight, {0.36f, 0.48f, 0.1f, 0.928f, 0.904f, 1.0f}},
                      // 2s + b - 1 clipped: -.3 -> 0, 1.44 -> 1, 1.4 -> 1
                      ModeCase{BlendMode::LinearLight, {0.4f, 0.4f, 0.0f, 1.0f, 0.94f, 1.0f}},
                      // |b - s|
                      ModeCase{BlendMode::Difference, {0.4f, 0.5f, 0.4f, 0.26f, 0.91f, 0.3f}},
                      // b + s clipped: 1.1 -> 1, 1.54 -> 1, 1.7 -> 1
                      ModeCase{BlendMode::LinearDodge, {0.8f, 1.0f, 0.6f, 1.0f, 0.99f, 1.0f}},
                      // b + s - 1 clipped: -.2, -.4, -.01 -> 0
                      ModeCase{BlendMode::LinearBurn, {0.0f, 0.1f, 0.0f, 0.54f, 0.0f, 0.7f}}));

TEST(Blend, OpacityMixesBackdropAndModeResult) {
    // .6 b + .4 x multiply: .12 + .048, .48 + .096, .3 + .02
    ExpectNear(BlendPixels({0.2f, 0.8f, 0.5f}, {0.6f, 0.3f, 0.1f}, BlendMode::Multiply, 0.4),
               {0.168f, 0.576f, 0.32f});
}

TEST(Blend, OpacityZeroReturnsBackdropExactlyInEveryMode) {
    for (BlendMode mode : {BlendMode::Normal, BlendMode::Darken, BlendMode::Lighten, BlendMode::Multiply,
                           BlendMode::Screen, BlendMode::Overlay, BlendMode::SoftLight, BlendMode::HardLight,
                           BlendMode::LinearLight, BlendMode::Luminosity, BlendMode::Difference,
                           BlendMode::LinearDodge, BlendMode::LinearBurn}) {
        EXPECT_EQ(BlendPixels(kBase, kTop, mode, 0.0), kBase) << BlendModeName(mode);
    }
}

TEST(Blend, LuminosityMatchesHandComputedPixels) {
    // Pixel 1: Lum(b) = .481, Lum(s) = .7, C = b + .219: no clipping.
    // Pixel 2: Lum(b) = .576, Lum(s) = .8, C = (1.124, .724, .324), x = 1.124:
    //   C = .8 + (C - .8) x .2 / .324.
    // Pixel 3: Lum(b) = .587, Lum(s) = .368, C = (-.019, .581, .281), n = -.019:
    //   C = .368 + (C - .368) x .368 / .387.
    ExpectNear(BlendPixels({0.4f, 0.5f, 0.6f, 0.9f, 0.5f, 0.1f, 0.2f, 0.8f, 0.5f},
                           {0.7f, 0.7f, 0.7f, 0.8f, 0.8f, 0.8f, 0.6f, 0.3f, 0.1f}, BlendMode::Luminosity,
                           1.0),
               {0.619f, 0.719f, 0.819f, 1.0f, 0.7530864f, 0.5061728f, 0.0f, 0.5705426f, 0.2852713f});
}

TEST(Blend, RefusesImagesThatAreNotRgb) {
    EXPECT_THROW(Blend(FloatImage(1, 1, 1, {0.5f}), FloatImage(1, 1, 1, {0.5f}), BlendMode::Normal, 1.0),
                 std::invalid_argument);
}

} // namespace
} // namespace vhost::engine
