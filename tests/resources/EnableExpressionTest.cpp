// The enable expression and the mode flags decide on which documents a
// plug-in may run; a refusal names the document's mode and what is accepted.
#include "host/resources/EnableExpression.h"
#include "host/resources/ModulePlugins.h"
#include "host/resources/PluginDescription.h"
#include "host/resources/ResourceError.h"

#include <gtest/gtest.h>

#include <optional>

namespace vlhtest {
namespace {

using vhost::EnableCondition;
using vhost::ImageMode;

const std::optional<ImageMode> kNoDocument;

struct Evaluation {
    const char* expression;
    std::optional<ImageMode> mode;
    bool allowed;
};

const Evaluation kEvaluations[] = {
    {"in(PSHOP_ImageMode, RGBMode, RGB48Mode)", ImageMode::RGB, true},
    {"in(PSHOP_ImageMode, RGBMode, RGB48Mode)", ImageMode::RGB48, true},
    {"in(PSHOP_ImageMode, RGBMode, RGB48Mode)", ImageMode::Grayscale, false},
    {"in(PSHOP_ImageMode, RGBMode, RGB48Mode)", ImageMode::CMYK, false},
    {"in(PSHOP_ImageMode, RGBMode, RGB48Mode)", ImageMode::Lab48, false},
    {"in(PSHOP_ImageMode, RGBMode, RGB48Mode)", ImageMode::Bitmap, false},
    {"in(PSHOP_ImageMode, RGBMode, RGB48Mode)", ImageMode::Duotone16, false},
    {"in(PSHOP_ImageMode, RGBMode, RGB48Mode)", kNoDocument, false},
    {"in(PSHOP_ImageMode, RGBMode)", ImageMode::RGB48, false},
    {"  in ( PSHOP_ImageMode ,GrayScaleMode,Gray16Mode )  ", ImageMode::Gray16, true},
    {"in(PSHOP_ImageMode, GrayScaleMode, Gray16Mode)", ImageMode::RGB, false},
    {"in(PSHOP_ImageMode, BitmapMode)", ImageMode::Bitmap, true},
    {"in(PSHOP_ImageMode, Duotone16Mode)", ImageMode::Duotone16, true},
    {"true", kNoDocument, true},
    {"true", ImageMode::CMYK, true},
    {"false", ImageMode::RGB, false},
};

TEST(EnableExpression, EvaluatesAgainstTheDocumentMode) {
    for (const Evaluation& e : kEvaluations) {
        EXPECT_EQ(EnableCondition::Parse(e.expression).Allows(e.mode), e.allowed)
            << e.expression << " on mode " << (e.mode ? int(*e.mode) : -1);
    }
}

TEST(EnableExpression, NoExpressionAllowsEverything) {
    EnableCondition always;
    EXPECT_TRUE(always.Allows(ImageMode::Lab));
    EXPECT_TRUE(always.Allows(kNoDocument));
}

struct Rejection {
    const char* expression;
    const char* fragment;
};

const Rejection kRejections[] = {
    {"", "it is empty"},
    {"   ", "it is empty"},
    {"in", "expected \"(\""},
    {"in(", "\"\" is not a value this host knows"},
    {"in(PSHOP_ImageMode)", "names no image mode"},
    {"in(PSHOP_ImageMode,)", "\")\" is not an image mode"},
    {"in(PSHOP_ImageMode, RGBMode", "expected \",\" or \")\""},
    {"in(PSHOP_ImageMode RGBMode)", "expected \",\" or \")\" but found \"RGBMode\""},
    {"in(PSHOP_ImageDepth, RGBMode)", "\"PSHOP_ImageDepth\" is not a value"},
    {"in(PSHOP_ImageMode, rgbmode)", "\"rgbmode\" is not an image mode"},
    {"in(PSHOP_ImageMode, RGBMode) extra", "unexpected text after the condition"},
    {"true false", "unexpected text"},
    {"RGBMode", "\"RGBMode\" is not understood"},
    {"(true)", "\"(\" is not understood"},
};

TEST(EnableExpression, UnknownFormsAreRefusedWithTheReason) {
    for (const Rejection& r : kRejections) {
        try {
            EnableCondition::Parse(r.expression);
            ADD_FAILURE() << "accepted \"" << r.expression << "\"";
        } catch (const vhost::ResourceError& e) {
            std::string message = e.what();
            EXPECT_NE(message.find(r.fragment), std::string::npos) << message;
            EXPECT_NE(message.find(std::string("\"") + r.expression + "\""), std::string::npos) << message;
        }
    }
}

TEST(ImageModes, DocumentDepthGivesTheRgbMode) {
    EXPECT_EQ(vhost::RGBModeForDepth(8), ImageMode::RGB);
    EXPECT_EQ(vhost::RGBModeForDepth(16), ImageMode::RGB48);
    EXPECT_EQ(vhost::RGBModeForDepth(32), std::nullopt);
    EXPECT_EQ(vhost::RGBModeForDepth(0), std::nullopt);
}

TEST(ImageModes, FlagsFollowTheModeOrderFromTheTopBit) {
    EXPECT_EQ(vhost::ModeFlag(ImageMode::Bitmap), 0x8000);
    EXPECT_EQ(vhost::ModeFlag(ImageMode::RGB), 0x1000);
    EXPECT_EQ(vhost::ModeFlag(ImageMode::Lab), 0x0040);
    EXPECT_EQ(vhost::ModeFlag(ImageMode::RGB48), 0x0010);
    EXPECT_EQ(vhost::ModeFlag(ImageMode::Duotone16), 0x0001);
    for (int i = 0; i < vhost::kImageModeCount; ++i) {
        auto mode = ImageMode(i);
        EXPECT_EQ(vhost::ModeFromExpressionName(vhost::ModeExpressionName(mode)), mode);
    }
}

vhost::PluginDescription OutputPlugin() {
    for (vhost::PluginDescription& p : vhost::DescribeModulePlugins(VLH_MODULE_PATH)) {
        if (p.menuName == "Vellicor Output Honer...") {
            return p;
        }
    }
    throw std::runtime_error("no Output plug-in");
}

TEST(ModeRefusal, RegisteredPluginRunsOnRgbOfEitherDepthOnly) {
    vhost::PluginDescription plugin = OutputPlugin();
    EXPECT_EQ(vhost::RefusalForImageMode(plugin, vhost::RGBModeForDepth(8)), std::nullopt);
    // The expression admits 16-bit RGB, which the mode flags alone would not.
    EXPECT_EQ(vhost::RefusalForImageMode(plugin, vhost::RGBModeForDepth(16)), std::nullopt);

    std::optional<std::string> refusal = vhost::RefusalForImageMode(plugin, ImageMode::Grayscale);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal, "\"Vellicor Output Honer...\" cannot run: the image is Grayscale (GrayScaleMode); it "
                        "accepts RGB Color (RGBMode) or RGB Color, 16 bits per channel (RGB48Mode) (enable "
                        "expression \"in(PSHOP_ImageMode, RGBMode, RGB48Mode)\")");

    refusal = vhost::RefusalForImageMode(plugin, kNoDocument);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("no image is open"), std::string::npos) << *refusal;

    refusal = vhost::RefusalForImageMode(plugin, ImageMode::Lab48);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("Lab Color, 16 bits per channel (Lab48Mode)"), std::string::npos) << *refusal;
}

TEST(ModeRefusal, WithoutAnExpressionTheModeFlagsDecide) {
    vhost::PluginDescription plugin = OutputPlugin();
    plugin.enableExpression.clear();
    plugin.enable = EnableCondition();
    EXPECT_EQ(vhost::RefusalForImageMode(plugin, ImageMode::RGB), std::nullopt);
    EXPECT_EQ(vhost::RefusalForImageMode(plugin, kNoDocument), std::nullopt);
    std::optional<std::string> refusal = vhost::RefusalForImageMode(plugin, ImageMode::RGB48);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal,
              "\"Vellicor Output Honer...\" cannot run: the image is RGB Color, 16 bits per channel "
              "(RGB48Mode); it accepts RGB Color (RGBMode)");

    plugin.modes.reset();
    EXPECT_EQ(vhost::RefusalForImageMode(plugin, ImageMode::Indexed), std::nullopt);
}

TEST(ModeRefusal, DisabledPluginSaysSo) {
    vhost::PluginDescription plugin = OutputPlugin();
    plugin.enableExpression = "false";
    plugin.enable = EnableCondition::Parse("false");
    std::optional<std::string> refusal = vhost::RefusalForImageMode(plugin, ImageMode::RGB);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("accepts nothing (it is disabled)"), std::string::npos) << *refusal;
}

} // namespace
} // namespace vlhtest
