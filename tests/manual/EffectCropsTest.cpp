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

TEST_F(EffectCropsTest, TheSceneIsTheSameEveryTimeAndHasDetailWhereItIsCropped) {
    const ManualSample a = DrawTestScene();
    const ManualSample b = DrawTestScene();
    EXPECT_EQ(a.picture, b.picture);
    ASSERT_EQ(size_t(a.picture.width) * size_t(a.picture.height) * 3, a.picture.rgb.size());
    EXPECT_LE(a.crop.left + a.crop.width, a.picture.width);
    EXPECT_LE(a.crop.top + a.crop.height, a.picture.height);
    EffectCropper cropper(e2e::HonerPath(), a);
    // Edges, print and texture: far from a flat patch (under 1) and from noise
    // alone (about 2).
    EXPECT_GT(EdgeContrast(cropper.Before()), 8.0);
    EXPECT_EQ("", cropper.Leftovers());
}

TEST_F(EffectCropsTest, BeforeIsTheSampleAsItIsAtTheCrop) {
    const ManualSample sample = DrawTestScene();
    EffectCropper cropper(e2e::HonerPath(), sample);
    const RgbPicture before = cropper.Before();
    ASSERT_EQ(sample.crop.width, before.width);
    ASSERT_EQ(sample.crop.height, before.height);
    for (int y : {0, sample.crop.height / 2, sample.crop.height - 1}) {
        for (int x : {0, sample.crop.width - 1}) {
            for (int c = 0; c < 3; ++c) {
                const size_t in = (size_t(sample.crop.top + y) * size_t(sample.picture.width) +
                                   size_t(sample.crop.left + x)) *
                                      3 +
                                  size_t(c);
                const size_t out = (size_t(y) * size_t(before.width) + size_t(x)) * 3 + size_t(c);
                EXPECT_EQ(sample.picture.rgb[in], before.rgb[out]) << x << "," << y << "," << c;
            }
        }
    }
    EXPECT_EQ("", cropper.Leftovers());
}

TEST_F(EffectCropsTest, SharpeningRaisesEdgeContrastAndBlurringLowersIt) {
    const std::optional<Chosen> sharpen = FirstEffectWhere(OnlySharpens);
    const std::optional<Chosen> blur = FirstEffectWhere(OnlyBlurs);
    ASSERT_TRUE(sharpen && blur) << "the catalogue has no plain sharpening or softening Effect";
    EffectCropper cropper(e2e::HonerPath(), DrawTestScene());
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
    EffectCropper cropper(e2e::HonerPath(), DrawTestScene());
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
    EffectCropper cropper(e2e::HonerPath(), DrawTestScene());
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
        EffectCropper cropper(e2e::HonerPath(), DrawTestScene());
        EXPECT_STRNE(settings.Path().c_str(), std::getenv("XDG_CONFIG_HOME"));
        cropper.After(plugin.name, plugin.sets.front().name, plugin.sets.front().effects.front());
        EXPECT_EQ("", cropper.Leftovers());
    }
    EXPECT_STREQ(settings.Path().c_str(), std::getenv("XDG_CONFIG_HOME"));
    EXPECT_TRUE(fs::is_empty(settings.Path())) << "the run remembered its choice in the user's settings";
}

TEST_F(EffectCropsTest, ACropOutsideThePictureIsRefused) {
    ManualSample sample = DrawTestScene();
    sample.crop.left = sample.picture.width - sample.crop.width + 1;
    EXPECT_THROW(EffectCropper(e2e::HonerPath(), sample), ManualError);
    sample = DrawTestScene();
    sample.crop.width = 0;
    EXPECT_THROW(EffectCropper(e2e::HonerPath(), sample), ManualError);
}

TEST_F(EffectCropsTest, AFileThatIsNoModuleIsRefused) {
    const std::string path = settings.Path() + "/Honer.8li";
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(nullptr, file);
    std::fputs("not a module", file);
    std::fclose(file);
    EXPECT_THROW(EffectCropper(path, DrawTestScene()), ManualError);
    fs::remove(path);
}

} // namespace
} // namespace vhost::manual
