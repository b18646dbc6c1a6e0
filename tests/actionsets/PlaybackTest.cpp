// Playing Effects against the real host: which events reach Play, with what,
// in which order, the first failure's code, and that every host object made
// for a playback is released exactly once, also after a failure.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "actionsets/Playback.h"
#include "hostapi/FourCharCode.h"
#include "tests/actionsets/HostFixture.h"

namespace {

// The test program's allocator; it can be told to refuse the n-th allocation
// from now, so that a playback runs out of memory at that point.
std::atomic<long> gAllocationsLeft{0};

void* Allocate(size_t size) {
    if (gAllocationsLeft.load() > 0 && gAllocationsLeft.fetch_sub(1) == 1) {
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}

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

TEST_F(PlaybackTest, AResultHandedBackWithAFailureIsReleasedToo) {
    host.AddPlayHandler("invert", [](vhost::Host&, const vhost::PlayCall&) {
        return std::optional<vhost::PlayAnswer>(vhost::PlayAnswer{-128, vhost::Descriptor{}});
    });
    const auto set = Load(SetWithEvents({EventModel::Named("invert")}));
    EXPECT_EQ(PlayEffect(FirstEffect(*set)), -128);
    EXPECT_EQ(Calls("Descriptor.Free").size(), 1u);
}

// Running out of memory at any allocation of a playback, the module's own or
// the host's, ends it with memFullErr and leaves nothing of it alive.
TEST_F(PlaybackTest, RunningOutOfMemoryAnywhereGivesMemFullErrAndLeavesNothingAlive) {
    const auto set = Load(SetWithEvents({Blur(1), EventModel::Named("invert")}));
    // Without the call log, and with every routine called once, the host
    // allocates nothing to free or release.
    host.Calls().Enable(false);
    ASSERT_EQ(PlayEffect(FirstEffect(*set)), noErr);
    OSErr result = memFullErr;
    int outOfMemory = 0;
    for (long n = 1; result != noErr && n < 1000; ++n) {
        gAllocationsLeft = n;
        result = PlayEffect(FirstEffect(*set));
        gAllocationsLeft = 0;
        EXPECT_TRUE(result == noErr || result == memFullErr) << "allocation " << n << ": " << result;
        EXPECT_EQ(host.Books().LiveCount(), 0u) << "allocation " << n << "\n" << host.Report();
        outOfMemory += result == memFullErr ? 1 : 0;
    }
    EXPECT_EQ(result, noErr);
    EXPECT_GT(outOfMemory, 1);
}

} // namespace
} // namespace vlh::test
