// The crops the manual shows, made through the real module (Honer.8li) by the
// host's engine: the sample as it is, and what an Effect makes of it. Every
// test ends with the host's accounting clean.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "host/catalogue/ModuleSets.h"
#include "host/manual/EffectCrops.h"
#include "host/manual/EventFacts.h"
#include "host/manual/ManualError.h"
#include "host/manual/Sample.h"
#include "tests/support/EndToEnd.h"

namespace vhost::manual {
namespace {

namespace fs = std::filesystem;

// Mean difference in lightness (Rec. 601 luma) between each pixel and its
// right-hand neighbour, in levels: sharpening raises it, softening lowers it.
double EdgeContrast(const RgbPicture& p) {
    const auto luma = [&](size_t i) {
        return 0.299 * p.rgb[i] + 0.587 * p.rgb[i + 1] + 0.114 * p.rgb[i + 2];
    };
    double sum = 0;
    size_t n = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x + 1 < p.width; ++x) {
            const size_t i = (size_t(y) * size_t(p.width) + size_t(x)) * 3;
            sum += std::abs(luma(i) - luma(i + 3));
            ++n;
        }
    }
    return n == 0 ? 0 : sum / double(n);
}

struct Chosen {
    std::string plugin, set, effect;
};

// The first Effect of the module whose events say what it does: one that
// only sharpens (an unsharp mask merged down), and one that only blurs.
std::optional<Chosen> FirstEffectWhere(bool (*wanted)(const std::vector<EventKind>&)) {
    for (const LoadedPlugin& plugin : LoadModuleSets(e2e::HonerPath())) {
        for (const auto& set : plugin.sets) {
            for (const auto& effect : set->effects) {
                std::vector<EventKind> kinds;
                for (const auto& event : effect->events) {
                    kinds.push_back(ReadEventFacts(*event).kind);
                }
                if (wanted(kinds)) {
                    return Chosen{plugin.name, set->name, effect->name};
                }
            }
        }
    }
    return std::nullopt;
}

bool Has(const std::vector<EventKind>& kinds, EventKind kind) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

bool OnlySharpens(const std::vector<EventKind>& k) {
    return Has(k, EventKind::UnsharpMask) && Has(k, EventKind::MergeDown) && !Has(k, EventKind::GaussianBlur);
}

bool OnlyBlurs(const std::vector<EventKind>& k) {
    return Has(k, EventKind::GaussianBlur) && !Has(k, EventKind::UnsharpMask) && !Has(k, EventKind::HighPass);
}

class EffectCropsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(e2e::HonerPath().empty()) << "this build has no module"; }
    e2e::PrivateSettingsFolder settings; // where the module would remember choices
};

// The crop lies well inside the picture, where there is detail to sharpen:
// more than a flat patch or the picture's noise alone (about 1.3) shows.
TEST_F(EffectCropsTest, TheCropLiesInsideThePictureWhereThereIsDetail) {
    const ManualSample sample = LoadManualSample();
    const CropArea& c = sample.crop;
    EXPECT_GE(c.width, 100);
    EXPECT_GE(c.height, 50);
    // Room for the recipes' widest blur on every side.
    EXPECT_GE(c.left, 120);
    EXPECT_GE(c.top, 120);
    EXPECT_LE(c.left + c.width + 120, sample.image.width());
    EXPECT_LE(c.top + c.height + 120, sample.image.height());
    EffectCropper cropper(e2e::HonerPath(), sample);
    EXPECT_GT(EdgeContrast(cropper.Before()), 4.0);
    EXPECT_EQ("", cropper.Leftovers());
}

// The picture's own pixels at the crop, brought to 8 bits, independently of
// the host's engine.
TEST_F(EffectCropsTest, BeforeIsTheSampleAsItIsAtTheCrop) {
    const ManualSample sample = LoadManualSample();
    EffectCropper cropper(e2e::HonerPath(), sample);
    const RgbPicture before = cropper.Before();
    const CropArea& c = sample.crop;
    ASSERT_EQ(c.width, before.width);
    ASSERT_EQ(c.height, before.height);
    const bool deep = sample.image.format() == VIPS_FORMAT_USHORT;
    for (int y : {0, c.height / 2, c.height - 1}) {
        for (int x : {0, c.width / 3, c.width - 1}) {
            const std::vector<double> pixel = sample.image.getpoint(c.left + x, c.top + y);
            for (size_t k = 0; k < 3; ++k) {
                const double expected = deep ? pixel[k] * 255.0 / 65535.0 : pixel[k];
                const size_t at = (size_t(y) * size_t(before.width) + size_t(x)) * 3 + k;
                EXPECT_NEAR(expected, before.rgb[at], 0.51) << x << "," << y << "," << k;
            }
        }
    }
    EXPECT_EQ("", cropper.Leftovers());
}

TEST_F(EffectCropsTest, SharpeningRaisesEdgeContrastAndBlurringLowersIt) {
    const std::optional<Chosen> sharpen = FirstEffectWhere(OnlySharpens);
    const std::optional<Chosen> blur = FirstEffectWhere(OnlyBlurs);
    ASSERT_TRUE(sharpen && blur) << "the catalogue has no plain sharpening or softening Effect";
    EffectCropper cropper(e2e::HonerPath(), LoadManualSample());
    const double before = EdgeContrast(cropper.Before());
    const RgbPicture sharpened = cropper.After(sharpen->plugin, sharpen->set, sharpen->effect);
    const RgbPicture blurred = cropper.After(blur->plugin, blur->set, blur->effect);
    EXPECT_EQ(cropper.Before().width, sharpened.width);
    EXPECT_EQ(cropper.Before().height, blurred.height);
    EXPECT_GT(EdgeContrast(sharpened), before * 1.02) << sharpen->effect;
    EXPECT_LT(EdgeContrast(blurred), before * 0.98) << blur->effect;
    // The same run twice gives the same pixels: every run starts from the sample.
    EXPECT_EQ(sharpened, cropper.After(sharpen->plugin, sharpen->set, sharpen->effect));
    EXPECT_EQ("", cropper.Leftovers());
}

TEST_F(EffectCropsTest, EveryPluginsFirstEffectChangesTheCrop) {
    EffectCropper cropper(e2e::HonerPath(), LoadManualSample());
    const RgbPicture before = cropper.Before();
    size_t runs = 0;
    for (const ListedPlugin& plugin : ListModuleSets(e2e::HonerPath())) {
        ASSERT_FALSE(plugin.sets.empty()) << plugin.name;
        const ListedSet& set = plugin.sets.front();
        ASSERT_FALSE(set.effects.empty()) << set.name;
        EXPECT_NE(before, cropper.After(plugin.name, set.name, set.effects.front()))
            << plugin.name << " / " << set.name << " / " << set.effects.front();
        ++runs;
    }
    EXPECT_EQ(4u, runs);
    EXPECT_EQ("", cropper.Leftovers());
}

TEST_F(EffectCropsTest, ARunTheModuleRefusesIsNamedAndLeavesNothingAlive) {
    EffectCropper cropper(e2e::HonerPath(), LoadManualSample());
    const ListedPlugin plugin = ListModuleSets(e2e::HonerPath()).front();
    try {
        cropper.After(plugin.name, "No Such Honers", "Nothing");
        ADD_FAILURE() << "a Set the module does not offer was run";
    } catch (const ManualError& e) {
        const std::string what = e.what();
        EXPECT_NE(std::string::npos, what.find(plugin.name + " / No Such Honers / Nothing")) << what;
        EXPECT_NE(std::string::npos, what.find("bad parameter")) << what;
    }
    EXPECT_THROW(cropper.After("Vellicor Nothing Honer", "A", "B"), ManualError);
    // The cropper still works after a refusal.
    EXPECT_NE(cropper.Before(),
              cropper.After(plugin.name, plugin.sets.front().name, plugin.sets.front().effects.front()));
    EXPECT_EQ("", cropper.Leftovers());
}

TEST_F(EffectCropsTest, TheUsersRememberedChoiceIsLeftAlone) {
    ASSERT_FALSE(settings.Path().empty());
    const ListedPlugin plugin = ListModuleSets(e2e::HonerPath()).front();
    {
        EffectCropper cropper(e2e::HonerPath(), LoadManualSample());
        EXPECT_STRNE(settings.Path().c_str(), std::getenv("XDG_CONFIG_HOME"));
        cropper.After(plugin.name, plugin.sets.front().name, plugin.sets.front().effects.front());
        EXPECT_EQ("", cropper.Leftovers());
    }
    EXPECT_STREQ(settings.Path().c_str(), std::getenv("XDG_CONFIG_HOME"));
    EXPECT_TRUE(fs::is_empty(settings.Path())) << "the run remembered its choice in the user's settings";
}

TEST_F(EffectCropsTest, ACropOutsideThePictureIsRefused) {
    ManualSample sample = LoadManualSample();
    sample.crop.left = sample.image.width() - sample.crop.width + 1;
    EXPECT_THROW(EffectCropper(e2e::HonerPath(), sample), ManualError);
    sample = LoadManualSample();
    sample.crop.width = 0;
    EXPECT_THROW(EffectCropper(e2e::HonerPath(), sample), ManualError);
}

TEST_F(EffectCropsTest, AFileThatIsNoModuleIsRefused) {
    const std::string path = settings.Path() + "/Honer.8li";
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(nullptr, file);
    std::fputs("not a module", file);
    std::fclose(file);
    EXPECT_THROW(EffectCropper(path, LoadManualSample()), ManualError);
    fs::remove(path);
}

} // namespace
} // namespace vhost::manual
