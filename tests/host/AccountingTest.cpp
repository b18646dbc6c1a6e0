// Live objects, violations and suite counts.
#include <gtest/gtest.h>

#include <cstring>

#include "host/core/Accounting.h"

namespace vhost {
namespace {

TEST(AccountingTest, RegisteredObjectsAreLiveUntilFreed) {
    Accounting books;
    void* d = books.Register(std::make_unique<Descriptor>(), "Descriptor.Make");
    void* s = books.Register(std::make_unique<HostString>(), "ZString.MakeFromCString");
    EXPECT_NE(d, s);
    EXPECT_EQ(2u, books.LiveCount());
    EXPECT_FALSE(books.Clean());
    EXPECT_EQ((std::vector<std::string>{"desc#1 (Descriptor.Make)", "str#2 (ZString.MakeFromCString)"}),
              books.LiveObjects());
    EXPECT_TRUE(books.Free(d, ObjectKind::Descriptor, "Descriptor.Free"));
    EXPECT_TRUE(books.Free(s, ObjectKind::HostString, "ZString.Release"));
    EXPECT_TRUE(books.Clean());
    EXPECT_EQ("", books.Report());
}

struct MisuseCase {
    const char* what;
    ObjectKind kindMade;
    bool freeFirst;
    ObjectKind kindFreed;
    const char* expected;
};

TEST(AccountingTest, MisusedHandlesAreRefusedAndRecorded) {
    const MisuseCase cases[] = {
        {"double free", ObjectKind::Descriptor, true, ObjectKind::Descriptor,
         "desc#1 used after it was freed"},
        {"wrong kind", ObjectKind::Reference, false, ObjectKind::Descriptor,
         "ref#1 is a reference, not a descriptor"},
        {"list as string", ObjectKind::List, false, ObjectKind::HostString,
         "list#1 is a list, not a host string"},
    };
    for (const MisuseCase& c : cases) {
        Accounting books;
        void* h = nullptr;
        switch (c.kindMade) {
        case ObjectKind::Descriptor:
            h = books.Register(std::make_unique<Descriptor>(), "make");
            break;
        case ObjectKind::Reference:
            h = books.Register(std::make_unique<Reference>(), "make");
            break;
        case ObjectKind::List:
            h = books.Register(std::make_unique<List>(), "make");
            break;
        case ObjectKind::HostString:
            h = books.Register(std::make_unique<HostString>(), "make");
            break;
        }
        if (c.freeFirst) {
            ASSERT_TRUE(books.Free(h, c.kindMade, "first"));
        }
        EXPECT_FALSE(books.Free(h, c.kindFreed, "Suite.Free")) << c.what;
        ASSERT_EQ(1u, books.Violations().size()) << c.what;
        EXPECT_EQ("Suite.Free", books.Violations()[0].routine);
        EXPECT_EQ(c.expected, books.Violations()[0].what) << c.what;
        EXPECT_EQ(c.freeFirst ? 0u : 1u, books.LiveCount()) << c.what;
    }
}

TEST(AccountingTest, ForeignAndNullPointersAreNeverFollowed) {
    Accounting books;
    int local = 0;
    EXPECT_EQ(nullptr, books.FindDescriptor(&local, "Descriptor.GetCount"));
    EXPECT_EQ(nullptr, books.FindList(nullptr, "List.GetCount"));
    ASSERT_EQ(2u, books.Violations().size());
    EXPECT_EQ(0u, books.Violations()[0].what.rfind("unknown descriptor 0x", 0));
    EXPECT_EQ("null list", books.Violations()[1].what);
    EXPECT_NE(std::string::npos, books.Report().find("violation: List.GetCount: null list"));
}

TEST(AccountingTest, TakingADescriptorEndsItsLifeWithoutAViolation) {
    Accounting books;
    auto d = std::make_unique<Descriptor>();
    d->Put(1, Value::Integer(5));
    void* h = books.Register(std::move(d), "host");
    auto back = books.TakeDescriptor(h);
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(Value::Integer(5), *back->Find(1));
    EXPECT_EQ(nullptr, books.TakeDescriptor(h));
    EXPECT_TRUE(books.Clean());
}

TEST(AccountingTest, BlocksAreCountedAndReallocationKeepsTheirBytes) {
    Accounting books;
    auto* p = static_cast<char*>(books.AllocateBlock(4));
    ASSERT_NE(nullptr, p);
    std::memcpy(p, "abcd", 4);
    auto* q = static_cast<char*>(books.ReallocateBlock(p, 8, "Basic.ReallocateBlock"));
    ASSERT_NE(nullptr, q);
    EXPECT_EQ(0, std::memcmp(q, "abcd", 4));
    EXPECT_FALSE(books.HasBlock(p));
    EXPECT_EQ(1u, books.LiveCount());
    EXPECT_EQ(nullptr, books.AllocateBlock(Accounting::kMaxBlockSize + 1));
    EXPECT_TRUE(books.FreeBlock(q, "Basic.FreeBlock"));
    EXPECT_FALSE(books.FreeBlock(q, "Basic.FreeBlock"));
    EXPECT_EQ(1u, books.Violations().size());
}

TEST(AccountingTest, SuitesAreCountedPerNameAndVersion) {
    Accounting books;
    books.SuiteAcquired("AS ZString Suite", 1);
    books.SuiteAcquired("AS ZString Suite", 1);
    EXPECT_TRUE(books.SuiteReleased("AS ZString Suite", 1, "Basic.ReleaseSuite"));
    EXPECT_EQ((std::vector<std::string>{"\"AS ZString Suite\" v1 (held 1)"}), books.UnreleasedSuites());
    EXPECT_FALSE(books.SuiteReleased("AS ZString Suite", 2, "Basic.ReleaseSuite"));
    EXPECT_TRUE(books.SuiteReleased("AS ZString Suite", 1, "Basic.ReleaseSuite"));
    EXPECT_TRUE(books.UnreleasedSuites().empty());
    EXPECT_EQ(1u, books.Violations().size());
    EXPECT_FALSE(books.Clean());
}

} // namespace
} // namespace vhost
