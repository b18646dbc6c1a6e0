// Playing Effects against the real host: which events reach Play, with what,
// in which order, the first failure's code, and that every host object made
// for a playback is released exactly once, also after a failure.
#include <gtest/gtest.h>

#include "actionsets/Playback.h"
#include "hostapi/FourCharCode.h"
#include "tests/actionsets/HostFixture.h"

namespace vlh::test {
namespace {

using vtools::DescriptorModel;
using vtools::EventModel;
using vtools::FormModel;
using vtools::IdField;
using vtools::ValueModel;

using PlaybackTest = HostFixture;

EventModel Blur(double radius) {
    return EventModel::Named("gaussianBlur", DescriptorModel::Of(IdField::Code("null"),
                                                                 {{IdField::Code("Rds "),
                                                                   ValueModel::UnitDouble("#Pxl", radius)}}));
}

EventModel Disabled(EventModel event) {
    event.enabled = 0;
    return event;
}

const Effect& FirstEffect(const ActionSet& set) {
    return *set.effects.at(0);
}

TEST_F(PlaybackTest, EnabledEventsPlayInStoredOrderWithTheirDescriptorsAndDialogOptions) {
    EventModel withDialog = EventModel::Named("invert");
    withDialog.withDialog = 1;
    const auto set =
        Load(SetWithEvents({Blur(1.5), withDialog, Disabled(Blur(9)), EventModel::Named("desaturate")}));
    EXPECT_EQ(PlayEffect(FirstEffect(*set)), 0);
    const auto& plays = host.Events().Plays();
    ASSERT_EQ(plays.size(), 3u);
    EXPECT_EQ(host.Events().PlayedEvents(),
              (std::vector<std::string>{"gaussianBlur", "invert", "desaturate"}));
    ASSERT_TRUE(plays[0].descriptor.has_value());
    EXPECT_EQ(plays[0].descriptor->Find(FourCC("Rds "))->Float(), 1.5);
    EXPECT_EQ(plays[0].options, plugInDialogDontDisplay);
    // An event without a descriptor is played with none.
    EXPECT_FALSE(plays[1].descriptor.has_value());
    EXPECT_EQ(plays[1].options, plugInDialogDisplay);
    EXPECT_EQ(plays[2].options, plugInDialogDontDisplay);
    // Descriptors stay alive until the Effect ends, then go in the order made.
    EXPECT_EQ(
        Calls("Descriptor."),
        (std::vector<std::string>{"Descriptor.Make", "Descriptor.PutUnitFloat desc#1 key='Rds ' 1.5 '#Pxl'",
                                  "Descriptor.Free desc#1"}));
}

TEST_F(PlaybackTest, EffectsWithNothingToPlayReturnZero) {
    const auto none = Load(SetWithEvents({}));
    EXPECT_EQ(PlayEffect(FirstEffect(*none)), 0);
    // A disabled event is never converted, so its alias does no harm.
    const auto disabled = Load(SetWithEvents(
        {Disabled(Blur(1)), Disabled(EventModel::Named("set", OneItem(ValueModel::Alias({1}))))}));
    EXPECT_EQ(PlayEffect(FirstEffect(*disabled)), 0);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(PlaybackTest, EventNamesAlwaysGoThroughTheHost) {
    const auto set = Load(SetWithEvents({EventModel::Named("Invr"), EventModel::Named("invert")}));
    EXPECT_EQ(PlayEffect(FirstEffect(*set)), 0);
    const std::vector<std::string> calls = Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], "Control.StringIDToTypeID \"Invr\""); // four characters, still through the host
    EXPECT_EQ(calls[1].rfind("Control.Play ", 0), 0u);
    EXPECT_EQ(calls[2], "Control.StringIDToTypeID \"invert\"");
    EXPECT_EQ(calls[3].rfind("Control.Play invert none options=0", 0), 0u);
}

TEST_F(PlaybackTest, TheSecondOfThreeEventsFailingInPlayStopsTheEffect) {
    host.AddPlayHandler("invert", [](vhost::Host&, const vhost::PlayCall&) {
        return std::optional<vhost::PlayAnswer>(vhost::PlayAnswer{-25920, std::nullopt});
    });
    const auto set = Load(SetWithEvents({Blur(1), EventModel::Named("invert"), Blur(2)}));
    EXPECT_EQ(PlayEffect(FirstEffect(*set)), -25920);
    EXPECT_EQ(host.Events().PlayedEvents(), (std::vector<std::string>{"gaussianBlur", "invert"}));
    // The third event was neither converted nor played.
    EXPECT_EQ(Calls("Descriptor.Make").size(), 1u);
    EXPECT_EQ(Calls("Control.StringIDToTypeID").size(), 2u);
}

TEST_F(PlaybackTest, AnAliasValueFailsWithCodeOneBeforePlay) {
    const auto set =
        Load(SetWithEvents({Blur(1), EventModel::Named("set", OneItem(ValueModel::Alias({1, 2}))), Blur(2)}));
    EXPECT_EQ(PlayEffect(FirstEffect(*set)), 1);
    EXPECT_EQ(host.Events().PlayedEvents(), std::vector<std::string>{"gaussianBlur"});
}

TEST_F(PlaybackTest, ABooleanInAListFailsWithCodeOneAtPlayback) {
    const auto set = Load(SetWithEvents({EventModel::Named(
        "set", OneItem(ValueModel::List({ValueModel::Integer(1), ValueModel::Boolean(true)})))}));
    EXPECT_EQ(PlayEffect(FirstEffect(*set)), 1);
    EXPECT_TRUE(host.Events().Plays().empty());
    EXPECT_EQ(Calls("List.PutInteger").size(), 1u);
}

TEST_F(PlaybackTest, ResultDescriptorsAreReleasedRightAfterTheirPlay) {
    host.AddPlayHandler("invert", [](vhost::Host&, const vhost::PlayCall&) {
        vhost::Descriptor reply;
        reply.Put(FourCC("Nm  "), vhost::Value::String("done"));
        return std::optional<vhost::PlayAnswer>(vhost::PlayAnswer{0, reply});
    });
    const auto set = Load(SetWithEvents({EventModel::Named("invert"), Blur(1)}));
    EXPECT_EQ(PlayEffect(FirstEffect(*set)), 0);
    const std::vector<std::string> calls = Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[1].rfind("Control.Play invert", 0), 0u);
    EXPECT_EQ(calls[2], "Descriptor.Free desc#1"); // the result, before the next event is converted
    EXPECT_EQ(calls[3], "Descriptor.Make");
}

TEST_F(PlaybackTest, AResultHandedBackWithAFailureIsReleasedToo) {
    host.AddPlayHandler("invert", [](vhost::Host&, const vhost::PlayCall&) {
        return std::optional<vhost::PlayAnswer>(vhost::PlayAnswer{-128, vhost::Descriptor{}});
    });
    const auto set = Load(SetWithEvents({EventModel::Named("invert")}));
    EXPECT_EQ(PlayEffect(FirstEffect(*set)), -128);
    EXPECT_EQ(Calls("Descriptor.Free").size(), 1u);
}

// A rich Effect: every host call it makes is failed in turn. Each time the
// Effect must return that call's code and the host must end with nothing
// alive; the failing call's objects included.
TEST_F(PlaybackTest, EveryHostCallOfAPlaybackCanFailAndNothingLeaks) {
    const DescriptorModel rich = DescriptorModel::Of(
        IdField::Code("null"),
        {{IdField::Code("null"), ValueModel::Reference({FormModel::Enum(
                                     IdField::Code("Lyr "), IdField::Code("Ordn"), IdField::Code("Trgt"))})},
         {IdField::Code("T   "),
          ValueModel::Object(DescriptorModel::Of(
              IdField::Code("Lyr "),
              {{IdField::Code("Md  "), ValueModel::Enum(IdField::Code("BlnM"), IdField::Code("Ovrl"))},
               {IdField::Code("Opct"), ValueModel::UnitDouble("#Prc", 50)}}))},
         {IdField::String("layerIDs"), ValueModel::List({ValueModel::Integer(1), ValueModel::Integer(2)})}});
    const auto set =
        Load(SetWithEvents({Blur(1), EventModel::Named("set", rich), EventModel::Named("invert")}));
    ASSERT_EQ(PlayEffect(FirstEffect(*set)), 0);
    const std::vector<vhost::CallRecord> clean = host.Calls().Records();
    ASSERT_GT(clean.size(), 20u);
    size_t swept = 0;
    for (uint64_t n = 1; n <= clean.size(); ++n) {
        const vhost::CallRecord& call = clean[n - 1];
        // A failed free leaves the object with the host; frees are not points
        // where a playback can fail.
        if (call.routine.ends_with(".Free")) {
            continue;
        }
        SCOPED_TRACE(call.routine + call.detail);
        host.Calls().Clear();
        host.Events().Clear();
        host.FaultPlan().Clear();
        const int32_t code = -30000 - int32_t(n);
        host.FaultPlan().FailNthHostCall(n, code);
        const size_t firedBefore = host.FaultPlan().Fired().size();
        const OSErr result = PlayEffect(FirstEffect(*set));
        ASSERT_EQ(host.FaultPlan().Fired().size(), firedBefore + 1);
        // Converting the list's key: the result is not examined and the ID the
        // host left is used, so the playback goes on.
        const bool keyConversion = call.detail == "\"layerIDs\"";
        EXPECT_EQ(result, keyConversion ? 0 : code);
        EXPECT_EQ(host.Books().LiveCount(), 0u) << host.Report();
        ++swept;
    }
    EXPECT_GT(swept, 15u);
    host.FaultPlan().Clear();
}

} // namespace
} // namespace vlh::test
