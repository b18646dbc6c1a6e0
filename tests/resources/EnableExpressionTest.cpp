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

} // namespace
} // namespace vlhtest
