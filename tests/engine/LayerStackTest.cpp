#include <gtest/gtest.h>

#include "TestImages.h"
#include "host/engine/Filters.h"
#include "host/engine/LayerStack.h"

namespace vhost::engine {
namespace {

using test::FlatRgb;
using test::FloatPixels;

float First(const vips::VImage& image) {
    return FloatPixels(image).at(0);
}

LayerStack GreyStack(float value) {
    return LayerStack(FlatRgb(3, 2, value, value, value));
}

TEST(LayerStack, DuplicatePutsTheCopyAboveAndTargetsIt) {
    LayerStack stack = GreyStack(0.5f);
    stack.Duplicate(0, "Upper");
    stack.Select(0);
    stack.Duplicate(0, "Middle");
    ASSERT_EQ(stack.Count(), 3u);
    EXPECT_EQ(stack.At(0).name, "Background");
    EXPECT_EQ(stack.At(1).name, "Middle");
    EXPECT_EQ(stack.At(2).name, "Upper");
    EXPECT_EQ(stack.TargetIndex(), 1u);
    EXPECT_EQ(FloatPixels(stack.At(1).pixels), FloatPixels(stack.At(0).pixels));
}

TEST(LayerStack, MergeDownBlendsTheTargetIntoTheLayerBelow) {
    LayerStack stack = GreyStack(0.4f);
    stack.Duplicate(0, "Top");
    stack.Target().pixels = Invert(stack.Target().pixels); // 0.6
    stack.Target().mode = BlendMode::Multiply;
    stack.Target().opacity = 0.5;
    stack.MergeDown();
    ASSERT_EQ(stack.Count(), 1u);
    EXPECT_EQ(stack.TargetIndex(), 0u);
    EXPECT_EQ(stack.Target().name, "Background");
    // .5 x .4 + .5 x (.4 x .6)
    EXPECT_NEAR(First(stack.Target().pixels), 0.32f, 1e-6f);
}

TEST(LayerStack, FlattenCompositesBottomUp) {
    LayerStack stack = GreyStack(0.2f);
    stack.Duplicate(0, "Screen");
    stack.Target().pixels = FlatRgb(3, 2, 0.5f, 0.5f, 0.5f);
    stack.Target().mode = BlendMode::Screen;
    stack.Duplicate(1, "Darken");
    stack.Target().pixels = FlatRgb(3, 2, 0.1f, 0.1f, 0.1f);
    stack.Target().mode = BlendMode::Darken;
    stack.Target().opacity = 0.25;
    // screen(.2, .5) = .6; then .75 x .6 + .25 x min(.6, .1) = .475
    EXPECT_NEAR(First(stack.Composite()), 0.475f, 1e-6f);
    stack.Flatten();
    ASSERT_EQ(stack.Count(), 1u);
    EXPECT_EQ(stack.Target().name, "Background");
    EXPECT_NEAR(First(stack.Target().pixels), 0.475f, 1e-6f);
}

} // namespace
} // namespace vhost::engine
