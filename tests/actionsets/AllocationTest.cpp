// Allocation bounds of the reader, measured by counting every operator new of
// this test program: fixed-size reads allocate nothing, and a length read from
// a stream never drives an allocation of its own size.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "actionsets/StoredStreamReader.h"
#include "tests/actionsets/TestStreams.h"
#include "tools/actionwriter/PlainWriter.h"

namespace {

std::atomic<size_t> gNewCalls{0};
std::atomic<size_t> gLargestNew{0};

void* CountedNew(size_t size) {
    ++gNewCalls;
    size_t largest = gLargestNew.load();
    while (size > largest && !gLargestNew.compare_exchange_weak(largest, size)) {
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(size_t size) {
    return CountedNew(size);
}
void* operator new[](size_t size) {
    return CountedNew(size);
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

struct Counting {
    Counting() {
        gNewCalls = 0;
        gLargestNew = 0;
    }
    size_t calls() const { return gNewCalls; }
    size_t largest() const { return gLargestNew; }
};

TEST(Allocation, FixedSizeReadsAllocateNothing) {
    vtools::PlainWriter out;
    for (int i = 0; i < 100; ++i) {
        out.Byte(uint8_t(i));
        out.Int16(int16_t(i * 7));
        out.Int32(i * 100'003);
        out.Double(i * 0.5);
    }
    const Bytes stored = vtools::RawToStored(out.bytes());
    StoredStreamReader reader;
    ASSERT_TRUE(reader.Open(stored.data(), stored.size()));
    int64_t sum = 0;
    const Counting counting;
    for (int i = 0; i < 100; ++i) {
        sum += reader.ReadByte();
        sum += reader.ReadInt16();
        sum += reader.ReadInt32();
        sum += int64_t(reader.ReadDouble());
        uint8_t four[4];
        reader.Read(four, 0);
    }
    const size_t calls = counting.calls();
    EXPECT_EQ(calls, 0u);
    EXPECT_NE(sum, 0);
}

TEST(Allocation, AFalseLengthTheStreamCouldHoldGrowsOnlyWithDeliveredBytes) {
    // A byte text claims 2,000,000 bytes: possible for a stored stream of a
    // few kilobytes, but only 3,000 bytes follow. The text must not be given
    // its claimed size up front.
    vtools::PlainWriter out;
    out.Int32(2'000'000);
    out.Raw(NoiseBytes(2500, 8));
    out.Raw(Bytes(500, 'x'));
    const Bytes stored = vtools::RawToStored(out.bytes());
    StoredStreamReader reader;
    ASSERT_TRUE(reader.Open(stored.data(), stored.size()));
    ASSERT_GT(reader.PlainBytesPossible(), 2'000'000u) << "the length must pass the size bound";
    const Counting counting;
    bool failed = false;
    try {
        reader.ReadByteText();
    } catch (const ReaderFailure&) {
        failed = true;
    }
    const size_t largest = counting.largest();
    EXPECT_TRUE(failed);
    EXPECT_LT(largest, 64u * 1024);
}

TEST(Allocation, ImpossibleCountsInASetAllocateNothingOfTheirSize) {
    struct Row {
        const char* name;
        vtools::SetModel model;
    };
    std::vector<Row> rows;
    vtools::SetModel effects = SetWithEvents({});
    effects.effectCount = INT32_MAX;
    rows.push_back({"Effects", effects});
    vtools::SetModel events = SetWithEvents({});
    events.effects[0].eventCount = INT32_MAX;
    rows.push_back({"events", events});
    vtools::DescriptorModel items = OneItem(vtools::ValueModel::Integer(0));
    items.count = INT32_MAX;
    rows.push_back({"items", SetWithDescriptor(items)});
    vtools::ValueModel alias = vtools::ValueModel::Alias({1});
    alias.count = INT32_MAX;
    rows.push_back({"alias", SetWithDescriptor(OneItem(alias))});
    vtools::SetModel name = SetWithEvents({});
    name.name.count = INT32_MAX;
    rows.push_back({"name", name});

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Bytes stored = vtools::WriteStoredSet(row.model);
        ActionSet set;
        const Counting counting;
        const bool ok = LoadActionSet(set, stored.data(), stored.size());
        const size_t largest = counting.largest();
        EXPECT_FALSE(ok);
        EXPECT_LT(largest, 64u * 1024);
    }
}

} // namespace
} // namespace vlh::test
