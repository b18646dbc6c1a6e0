// Planned faults and the call log.
#include "SuiteFixture.h"

namespace vhost::test {
namespace {

using FaultTest = SuiteFixture;

TEST_F(FaultTest, TheNthCallOfARoutineFailsWithTheChosenCodeAndDoesNoWork) {
    host.FaultPlan().FailOnCall("Descriptor.PutInteger", 2, -25920);
    PIActionDescriptor desc = NewDescriptor();
    EXPECT_EQ(0, d->PutInteger(desc, FourCC("Amnt"), 1));
    EXPECT_EQ(-25920, d->PutInteger(desc, FourCC("Rds "), 2));
    EXPECT_EQ(0, d->PutInteger(desc, FourCC("Thsh"), 3));
    EXPECT_FALSE(Desc(desc).Has(FourCC("Rds ")));
    EXPECT_EQ(2u, Desc(desc).Count());
    EXPECT_EQ((std::vector<std::string>{"Descriptor.PutInteger #2"}), host.FaultPlan().Fired());
    EXPECT_EQ(0, d->Free(desc));
}

TEST_F(FaultTest, AFailedMakeHandsOutNothingToFree) {
    host.FaultPlan().FailOnCall("Descriptor.Make", 1, memFullErr);
    PIActionDescriptor desc = nullptr;
    EXPECT_EQ(memFullErr, d->Make(&desc));
    EXPECT_EQ(nullptr, desc);
    EXPECT_EQ(0u, host.Books().LiveCount());
}

TEST_F(FaultTest, TheNthHostCallOverallFailsWhateverItsRoutine) {
    host.Calls().Clear(); // forget the fixture's acquisitions
    host.FaultPlan().FailNthHostCall(3, -50);
    PIActionDescriptor desc = NewDescriptor();               // 1
    EXPECT_EQ(0, d->PutBoolean(desc, FourCC("bool"), 1));    // 2
    EXPECT_EQ(-50, d->PutString(desc, FourCC("TEXT"), "x")); // 3
    EXPECT_EQ(0, d->PutString(desc, FourCC("TEXT"), "x"));   // 4
    EXPECT_EQ(0, d->Free(desc));                             // 5
    EXPECT_EQ(5u, host.Calls().Total());
}

TEST_F(FaultTest, EveryCallCanBeMadeToFailAndThePlanCleared) {
    host.FaultPlan().FailEveryCall("Control.StringIDToTypeID", -1715);
    DescriptorTypeID id = 0;
    EXPECT_EQ(-1715, c->StringIDToTypeID("set", &id));
    EXPECT_EQ(-1715, c->StringIDToTypeID("set", &id));
    host.FaultPlan().Clear();
    EXPECT_EQ(0, c->StringIDToTypeID("set", &id));
    EXPECT_EQ(FourCC("setd"), id);
}

TEST_F(FaultTest, ThirtyTwoBitRoutinesFailWithTheWholeCodeAndPlainValuesWithZero) {
    host.FaultPlan().FailOnCall("ZString.MakeFromCString", 1, kSPBadParameterError);
    host.FaultPlan().FailOnCall("Basic.IsEqual", 1, 1);
    ASZString s = nullptr;
    EXPECT_EQ(kSPBadParameterError, z->MakeFromCString("x", 1, &s));
    EXPECT_EQ(0, host.BasicSuite()->IsEqual("a", "a"));
    EXPECT_EQ(1, host.BasicSuite()->IsEqual("a", "a"));
}

TEST_F(FaultTest, TheCallLogShowsRoutinesArgumentsAndResultsInOrder) {
    host.Calls().Clear();
    host.Calls().Enable(true);
    host.FaultPlan().FailOnCall("Reference.PutEnumerated", 1, -108);
    PIActionReference ref = NewReference();
    r->PutEnumerated(ref, FourCC("Dcmn"), FourCC("Ordn"), FourCC("Trgt"));
    r->PutEnumerated(ref, FourCC("Dcmn"), FourCC("Ordn"), FourCC("Trgt"));
    PIActionDescriptor desc = NewDescriptor();
    d->PutString(desc, FourCC("VlSt"), "Capture");
    d->PutUnitFloat(desc, *host.Terms().ToTypeID("linearLight"), FourCC("#Pxl"), 2.5);
    int32_t v = 0;
    d->GetInteger(desc, FourCC("Amnt"), &v);
    d->Free(desc);
    r->Free(ref);
    EXPECT_EQ((std::vector<std::string>{
                  "Reference.Make",
                  "Reference.PutEnumerated ref#1 class='Dcmn' type='Ordn' value='Trgt' -> -108 (injected)",
                  "Reference.PutEnumerated ref#1 class='Dcmn' type='Ordn' value='Trgt'",
                  "Descriptor.Make",
                  "Descriptor.PutString desc#2 key='VlSt' \"Capture\"",
                  "Descriptor.PutUnitFloat desc#2 key=$linearLight 2.5 '#Pxl'",
                  "Descriptor.GetInteger desc#2 key='Amnt' -> -1715",
                  "Descriptor.Free desc#2",
                  "Reference.Free ref#1",
              }),
              host.Calls().Lines());
    EXPECT_EQ(2u, host.Calls().Count("Reference.PutEnumerated"));
    const CallRecord& second = host.Calls().Records()[2];
    EXPECT_EQ(2u, second.routineIndex);
    EXPECT_EQ(3u, second.overallIndex);
    EXPECT_EQ((std::vector<std::string>{"Descriptor.Free desc#2"}), host.Calls().Lines("Descriptor.Free"));
}

TEST(FaultSweepTest, EveryCallIndexOfASequenceCanBeFailedInTurn) {
    // What a sweep does: one clean run to count the calls, then one run per
    // call index with that call failing; the host must stay clean every time.
    auto sequence = [](Host& host) {
        const PSActionDescriptorProcs* d = nullptr;
        if (host.BasicSuite()->AcquireSuite(kPSActionDescriptorSuite, 2,
                                            reinterpret_cast<const void**>(&d)) != 0) {
            return;
        }
        PIActionDescriptor desc = nullptr;
        if (d->Make(&desc) == 0) {
            d->PutInteger(desc, FourCC("Amnt"), 1);
            d->Free(desc);
        }
        host.BasicSuite()->ReleaseSuite(kPSActionDescriptorSuite, 2);
    };
    uint64_t total = 0;
    {
        Host host;
        sequence(host);
        total = host.Calls().Total();
        EXPECT_TRUE(host.Clean()) << host.Report();
    }
    ASSERT_EQ(5u, total);
    for (uint64_t n = 1; n <= total; ++n) {
        Host host;
        host.FaultPlan().FailNthHostCall(n, -108);
        sequence(host);
        EXPECT_EQ(1u, host.FaultPlan().Fired().size()) << n;
        // A failed Free (call 4) leaves its descriptor alive and a failed
        // release (call 5) its suite held; every other failure leaves nothing.
        EXPECT_EQ(n == 5 ? 1u : 0u, host.Books().UnreleasedSuites().size()) << n;
        EXPECT_EQ(n == 4 ? 1u : 0u, host.Books().LiveCount()) << n;
        EXPECT_TRUE(host.Books().Violations().empty()) << n;
    }
}

} // namespace
} // namespace vhost::test
