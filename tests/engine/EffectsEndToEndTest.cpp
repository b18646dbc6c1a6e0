// The real module in the real host with the image engine: every Effect of the
// catalogue plays on a real image, and a failed Effect leaves the image as it
// was.
#include <cmath>
#include <fstream>
#include <sstream>

#include "TestImages.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/Engine.h"
#include "hostapi/FourCharCode.h"
#include "tests/support/EndToEnd.h"

namespace vhost::engine::test {
namespace {

using vlh::FourCC;

struct EffectName {
    std::string plugin; // menu name
    std::string set;
    std::string effect;
};

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    const size_t last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

// Every Effect of the catalogue, read from the recipe sources.
std::vector<EffectName> CatalogueEffects() {
    const std::string dir = VLH_RECIPES_DIR;
    std::vector<EffectName> effects;
    std::ifstream catalogue(dir + "/Catalogue.txt");
    std::string line;
    std::string plugin;
    while (std::getline(catalogue, line)) {
        if (line.rfind("Plug-in: ", 0) == 0) {
            plugin = Trim(line.substr(9)) + "...";
        } else if (line.rfind("    ", 0) == 0 && !plugin.empty()) {
            std::ifstream recipe(dir + "/" + Trim(line));
            std::string set;
            for (std::string r; std::getline(recipe, r);) {
                if (r.rfind("Set: ", 0) == 0) {
                    set = Trim(r.substr(5));
                } else if (r.rfind("Effect: ", 0) == 0) {
                    effects.push_back({plugin, set, Trim(r.substr(8))});
                }
            }
        }
    }
    return effects;
}

// A 16-bit RGB image with edges and texture: a noisy checkerboard.
vips::VImage Photo() {
    const int w = 48;
    const int h = 32;
    std::vector<uint16_t> noise = Varied16(static_cast<size_t>(w * h * 3), 21);
    std::vector<uint16_t> values;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int base = ((x / 8 + y / 8) % 2) ? 45000 : 18000;
            for (int k = 0; k < 3; ++k) {
                const size_t i = static_cast<size_t>((y * w + x) * 3 + k);
                values.push_back(static_cast<uint16_t>(base + k * 2000 + noise[i] % 4000));
            }
        }
    }
    return U16Image(w, h, 3, values)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16));
}

// A vertical edge from 0.25 to 0.75 of full scale between columns 23 and 24,
// sharp or blurred by a Gaussian of sigma 1 px, in 16 bits.
vips::VImage Edge(bool blurred) {
    const int w = 48;
    const int h = 24;
    std::vector<uint16_t> values;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double share = blurred ? 0.5 * std::erfc(-(x - 23.5) / std::sqrt(2.0)) : (x >= 24 ? 1.0 : 0.0);
            const auto v = static_cast<uint16_t>(std::lround(65535 * (0.25 + 0.5 * share)));
            values.insert(values.end(), {v, v, v});
        }
    }
    return U16Image(w, h, 3, values)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16));
}

double RmsDifference(const std::vector<float>& a, const std::vector<float>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    }
    return std::sqrt(sum / static_cast<double>(a.size()));
}

class EffectsEndToEnd : public vhost::e2e::EndToEndTest {
protected:
    void SetUp() override {
        EndToEndTest::SetUp();
        notes = InstallEngine(host);
    }

    DoItResult Run(const EffectName& e) {
        DoItRequest request;
        request.descriptor = Descriptor();
        request.descriptor->Put(FourCC("VlSt"), Value::String(e.set));
        request.descriptor->Put(FourCC("VlAc"), Value::String(e.effect));
        return DoIt(e.plugin, request);
    }

    void OpenPhoto() { Open(Photo()); }
    void Open(const vips::VImage& image) { host.OpenDocument(DocumentFromPicture(OpenPicture(image, "photo"), "")); }
    LayerStack& Layers() { return host.ActiveDocument()->pixels->layers; }

    std::shared_ptr<const EngineNotes> notes;
};

TEST_F(EffectsEndToEnd, EveryEffectOfTheCataloguePlaysOnARealImage) {
    const std::vector<EffectName> effects = CatalogueEffects();
    ASSERT_GT(effects.size(), 100u);
    OpenPhoto();
    const std::vector<float> original = FloatPixels(Layers().Composite());
    for (const EffectName& e : effects) {
        const std::string what = e.plugin + " / " + e.set + " / " + e.effect;
        OpenPhoto();
        host.Events().Clear();
        const DoItResult r = Run(e);
        ASSERT_EQ(0, r.result) << what << ": " << notes->lastFailure;
        size_t engineEvents = 0;
        for (const PlayRecord& play : host.Events().Plays()) {
            EXPECT_EQ(0, play.result) << what << ": " << play.stringID;
            engineEvents += play.stringID != "purge" && play.stringID != "set" ? 1 : 0;
        }
        EXPECT_GT(engineEvents, 0u) << what;
        EXPECT_EQ(host.ActiveDocument()->history, std::vector<std::string>{e.effect}) << what;
        // Every Effect changes what the image shows.
        EXPECT_NE(FloatPixels(Layers().Composite()), original) << what;
    }
}

TEST_F(EffectsEndToEnd, TheDeconvolutionFromLayersBringsABlurredEdgeBackAndLeavesFlatAreas) {
    Open(Edge(false));
    const std::vector<float> sharp = FloatPixels(Layers().Composite());
    Open(Edge(true));
    const std::vector<float> blurred = FloatPixels(Layers().Composite());
    const DoItResult r = Run({"Vellicor Capture Honer...", "Digital Camera Honers", "8 to 16 MP, Medium Edges"});
    ASSERT_EQ(0, r.result) << notes->lastFailure;
    ASSERT_EQ(Layers().Count(), 1u);
    const std::vector<float> restored = FloatPixels(Layers().Composite());
    // Restored, the edge is much closer to the sharp one than the blurred edge was.
    EXPECT_LT(RmsDifference(restored, sharp), 0.75 * RmsDifference(blurred, sharp));
    // Away from the edge the mask is closed: the flat areas are as they were.
    for (const int x : {2, 8, 40, 45}) {
        const size_t i = static_cast<size_t>((12 * 48 + x) * 3);
        EXPECT_EQ(restored[i], blurred[i]) << "column " << x;
    }
}

TEST_F(EffectsEndToEnd, AnEffectThatFailsHalfwayLeavesTheImageAsItWas) {
    const EffectName effect = CatalogueEffects().front();
    OpenPhoto();
    const VipsImage* before = Layers().Target().pixels.get_image();
    // The fifth Play: after the clipboard purge, the colour settings and the
    // first events of the Effect.
    host.FaultPlan().FailOnCall("Control.Play", 5, -25920);
    const DoItResult r = Run(effect);
    EXPECT_EQ(-25920, r.result);
    EXPECT_GT(host.Events().Plays().size(), 3u);
    ASSERT_EQ(Layers().Count(), 1u);
    EXPECT_EQ(Layers().Target().pixels.get_image(), before);
    EXPECT_TRUE(host.ActiveDocument()->history.empty());
}

} // namespace
} // namespace vhost::engine::test
