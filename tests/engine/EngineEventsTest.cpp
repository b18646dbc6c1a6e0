#include <random>

#include "EngineFixture.h"
#include "TestImages.h"
#include "host/engine/Blend.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/EngineError.h"
#include "host/engine/Filters.h"

namespace vhost::engine::test {
namespace {

constexpr int kSize = 24;

vips::VImage Image16(uint32_t seed) {
    return U16Image(kSize, kSize, 3, Varied16(static_cast<size_t>(kSize * kSize * 3), seed))
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16));
}

// What identifies a layer stack's state: names, modes, opacities, target, and
// the very images the layers hold.
struct StackState {
    std::vector<std::string> names;
    std::vector<BlendMode> modes;
    std::vector<double> opacities;
    std::vector<VipsImage*> images;
    size_t target = 0;

    explicit StackState(const LayerStack& s) : target(s.TargetIndex()) {
        for (size_t i = 0; i < s.Count(); ++i) {
            names.push_back(s.At(i).name);
            modes.push_back(s.At(i).mode);
            opacities.push_back(s.At(i).opacity);
            images.push_back(s.At(i).pixels.get_image());
        }
    }
    bool operator==(const StackState&) const = default;
};

class EngineEvents : public EngineFixture {};

TEST_F(EngineEvents, SixteenBitDataSurvivesNeutralSequencesBitForBit) {
    const TempDir dir;
    const vips::VImage source = Image16(2);
    source.tiffsave(dir.File("in.tif").c_str());
    host.OpenDocument(OpenImageDocument(dir.File("in.tif")));
    const Descriptor toTarget = Keys({{"null", Ref(TargetLayer())}});
    // A copy at opacity 0; a copy in normal mode at full opacity; an unchanged
    // copy in luminosity mode; an unsharp mask of amount 0 and one of
    // threshold 255.
    ASSERT_EQ(0, Play("duplicate", toTarget));
    ASSERT_EQ(0, Play("set", SetTarget(Keys({{"Opct", Percent(0)}}))));
    ASSERT_EQ(0, Play("mergeLayersNew"));
    ASSERT_EQ(0, Play("duplicate", toTarget));
    ASSERT_EQ(0, Play("set", SetTarget(Keys({{"Md  ", Mode("Nrml")}, {"Opct", Percent(100)}}))));
    ASSERT_EQ(0, Play("mergeLayersNew"));
    ASSERT_EQ(0, Play("duplicate", toTarget));
    ASSERT_EQ(0, Play("set", SetTarget(Keys({{"Md  ", Mode("Lmns")}}))));
    ASSERT_EQ(0, Play("mergeLayersNew"));
    ASSERT_EQ(0, Play("unsharpMask", Sharpening(0, 2.0, 0)));
    ASSERT_EQ(0, Play("unsharpMask", Sharpening(300, 2.0, 255)));
    ASSERT_EQ(0, Play("flattenImage"));
    SaveImageDocument(*host.ActiveDocument(), dir.File("out.tif"));
    EXPECT_EQ(U16Pixels(vips::VImage::new_from_file(dir.File("out.tif").c_str())), U16Pixels(source));
}

TEST_F(EngineEvents, SelectMovesTheTargetByNameAndByStep) {
    OpenDocumentOf(Image16(3));
    ASSERT_EQ(0, Play("duplicate", Keys({{"Nm  ", Value::String("Dark")}})));
    ASSERT_EQ(0, Play("duplicate"));
    EXPECT_EQ(Layers().Target().name, "Dark copy");
    ASSERT_EQ(0, Play("select", Keys({{"null", Ref(LayerNamed("Background"))}})));
    EXPECT_EQ(Layers().TargetIndex(), 0u);
    ASSERT_EQ(0, Play("select", Keys({{"null", Ref(LayerStep("Frwr"))}})));
    EXPECT_EQ(Layers().Target().name, "Dark");
    ASSERT_EQ(0, Play("select", Keys({{"null", Ref(LayerStep("Frwr"))}})));
    EXPECT_EQ(Layers().Target().name, "Dark copy");
    ASSERT_EQ(0, Play("select", Keys({{"null", Ref(LayerStep("Bckw"))}})));
    EXPECT_EQ(Layers().Target().name, "Dark");
}

struct BadEvent {
    const char* what;
    const char* event;
    std::optional<Descriptor> descriptor;
    int16_t code;
};

class RefusedEvents : public EngineFixture, public ::testing::WithParamInterface<BadEvent> {};

TEST_P(RefusedEvents, FailWithTheirCodeAndLeaveTheDocumentAsItWas) {
    const BadEvent& e = GetParam();
    OpenDocumentOf(Image16(7));
    ASSERT_EQ(0, Play("duplicate", Keys({{"Nm  ", Value::String("Work")}})));
    ASSERT_EQ(0, Play("set", SetTarget(Keys({{"Md  ", Mode("Ovrl")}}))));
    ASSERT_EQ(0, Play("select", Keys({{"null", Ref(LayerNamed("Background"))}})));
    const StackState before(Layers());
    EXPECT_EQ(Play(e.event, e.descriptor), e.code) << e.what << ": " << notes->lastFailure;
    EXPECT_FALSE(notes->lastFailure.empty());
    EXPECT_EQ(StackState(Layers()), before) << e.what;
}

const Value kTargetRef = Ref(TargetLayer());

INSTANTIATE_TEST_SUITE_P(
    Engine, RefusedEvents,
    ::testing::Values(
        BadEvent{"unknown event", "emboss", std::nullopt, code::kEventNotAvailable},
        BadEvent{"radius in percent", "unsharpMask",
                 Keys({{"Amnt", Percent(100)}, {"Rds ", Percent(1)}, {"Thsh", Value::Integer(0)}}),
                 code::kInvalidParameters},
        BadEvent{"radius too small", "unsharpMask", Sharpening(100, 0.05, 0), code::kInvalidParameters},
        BadEvent{"radius too large", "gaussianBlur", Keys({{"Rds ", Px(251)}}), code::kInvalidParameters},
        BadEvent{"threshold 256", "unsharpMask", Sharpening(100, 1, 256), code::kInvalidParameters},
        BadEvent{"threshold -1", "unsharpMask", Sharpening(100, 1, -1), code::kInvalidParameters},
        BadEvent{"threshold as a float", "unsharpMask",
                 Keys({{"Amnt", Percent(100)}, {"Rds ", Px(1)}, {"Thsh", Value::Float(2)}}),
                 code::kInvalidParameters},
        BadEvent{"amount 501 %", "unsharpMask", Sharpening(501, 1, 0), code::kInvalidParameters},
        BadEvent{"amount missing", "unsharpMask", Keys({{"Rds ", Px(1)}, {"Thsh", Value::Integer(0)}}),
                 code::kMissingParameter},
        BadEvent{"key not taken", "unsharpMask",
                 Keys({{"Amnt", Percent(100)},
                       {"Rds ", Px(1)},
                       {"Thsh", Value::Integer(0)},
                       {"Nm  ", Value::String("x")}}),
                 code::kInvalidParameters},
        BadEvent{"high pass without descriptor", "highPass", std::nullopt, code::kMissingParameter},
        BadEvent{"opacity 101 %", "set", SetTarget(Keys({{"Opct", Percent(101)}})), code::kInvalidParameters},
        BadEvent{"opacity -1 %", "set", SetTarget(Keys({{"Opct", Percent(-1)}})), code::kInvalidParameters},
        BadEvent{"opacity in pixels", "set", SetTarget(Keys({{"Opct", Px(50)}})), code::kInvalidParameters},
        BadEvent{"mode changes, then opacity fails", "set",
                 SetTarget(Keys({{"Md  ", Mode("Scrn")}, {"Opct", Percent(120)}})), code::kInvalidParameters},
        BadEvent{"unknown blend mode", "set", SetTarget(Keys({{"Md  ", Mode("Dslv")}})),
                 code::kInvalidParameters},
        BadEvent{"mode of another enumeration", "set",
                 SetTarget(Keys({{"Md  ", Value::Enumerated(FourCC("Ordn"), FourCC("Nrml"))}})),
                 code::kInvalidParameters},
        BadEvent{"set to an object of another class", "set",
                 Keys({{"null", kTargetRef}, {"T   ", Value::Object(FourCC("Chnl"), Keys({}))}}),
                 code::kInvalidParameters},
        BadEvent{"set of a channel", "set",
                 Keys({{"null", Ref([] {
                            Reference r;
                            r.Append(ReferenceForm{form::kEnumerated, FourCC("Chnl"), FourCC("Ordn"),
                                                   FourCC("Trgt"), 0, 0, ""});
                            return r;
                        }())},
                       {"T   ", LayerObject(Keys({}))}}),
                 code::kInvalidParameters},
        BadEvent{"set without target", "set", Keys({{"T   ", LayerObject(Keys({{"Opct", Percent(50)}}))}}),
                 code::kInvalidParameters},
        BadEvent{"set of a missing layer", "set",
                 Keys({{"null", Ref(LayerNamed("Nowhere"))}, {"T   ", LayerObject(Keys({}))}}),
                 code::kReferenceNotFound},
        BadEvent{"select names no layer", "select", Keys({{"null", Ref(LayerNamed("Nope"))}}),
                 code::kReferenceNotFound},
        BadEvent{"select below the bottom", "select", Keys({{"null", Ref(LayerStep("Bckw"))}}),
                 code::kReferenceNotFound},
        BadEvent{"select by another form", "select",
                 Keys({{"null", Ref([] {
                            Reference r;
                            r.Append(ReferenceForm{form::kIndex, FourCC("Lyr "), 0, 0, 1, 0, ""});
                            return r;
                        }())}}),
                 code::kInvalidParameters},
        BadEvent{"select without reference", "select", std::nullopt, code::kMissingParameter},
        BadEvent{"duplicate steps below", "duplicate", Keys({{"null", Ref(LayerStep("Bckw"))}}),
                 code::kInvalidParameters},
        BadEvent{"merge with no layer below", "mergeLayersNew", std::nullopt, code::kEventNotAvailable},
        BadEvent{"desaturate with a key", "desaturate", Keys({{"Rds ", Px(1)}}), code::kInvalidParameters}));

} // namespace
} // namespace vhost::engine::test
