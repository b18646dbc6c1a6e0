// The stored stream reader: unscrambling, inflating on demand, typed reads and
// the bounds it keeps on hostile input.
#include <gtest/gtest.h>

#include <cstring>

#include "actionsets/StoredStreamReader.h"
#include "tests/actionsets/TestStreams.h"
#include "tools/actionwriter/PlainWriter.h"

namespace vlh::test {
namespace {

struct OpenedReader {
    explicit OpenedReader(Bytes storedBytes) : stored(std::move(storedBytes)) {
        opened = reader.Open(stored.data(), stored.size());
    }
    Bytes stored;
    StoredStreamReader reader;
    bool opened = false;
};

Bytes ReadAll(StoredStreamReader& reader, size_t count) {
    Bytes out(count);
    reader.Read(out.data(), out.size());
    return out;
}

TEST(StoredStreamReader, RestoresTheFirstByteAndTheBytesPastPosition256) {
    const Bytes plain = NoiseBytes(1000, 11);
    OpenedReader r(vtools::RawToStored(plain));
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(ReadAll(r.reader, plain.size()), plain);
}

TEST(StoredStreamReader, NeverReadsBeyondTheStoredSizeItWasGiven) {
    const Bytes plain = NoiseBytes(300, 9);
    const Bytes stored = vtools::RawToStored(plain);
    for (size_t size : {size_t(0), size_t(1), size_t(2), size_t(100), stored.size() - 5}) {
        SCOPED_TRACE(size);
        // The bytes behind size exist in memory but are not the reader's.
        StoredStreamReader reader;
        ASSERT_TRUE(reader.Open(stored.data(), size));
        Bytes out(plain.size());
        EXPECT_THROW(reader.Read(out.data(), out.size()), ReaderFailure);
        EXPECT_LE(reader.StoredOffset(), size);
    }
}

// ---- typed reads ---------------------------------------------------------------

Bytes Fields(void (*write)(vtools::PlainWriter&)) {
    vtools::PlainWriter out;
    write(out);
    out.Int32(0x7E7E7E7E); // a sentinel after the fields
    return vtools::RawToStored(out.bytes());
}

TEST(TypedReads, NumbersAreBigEndianAndInt16IsSignExtended) {
    OpenedReader r(Fields([](vtools::PlainWriter& out) {
        out.Byte(0xFE);
        out.Int16(-2);
        out.Int16(0x1234);
        out.Int32(-123456789);
        out.Double(-1.25e-3);
    }));
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.reader.ReadByte(), 0xFE);
    const int32_t widened = r.reader.ReadInt16();
    EXPECT_EQ(widened, -2);
    EXPECT_EQ(r.reader.ReadInt16(), 0x1234);
    EXPECT_EQ(r.reader.ReadInt32(), -123456789);
    EXPECT_EQ(r.reader.ReadDouble(), -1.25e-3);
    EXPECT_EQ(r.reader.ReadInt32(), 0x7E7E7E7E);
}

TEST(TypedReads, UnicodeTextsKeepTheLowByteAndStopAtTheFirstZero) {
    OpenedReader r(Fields([](vtools::PlainWriter& out) {
        out.Unicode({u"Sch\u00E4rfe \u0141\u2022", true, {}});
        out.Unicode({u"Ab\u0100cd", true, {}}); // U+0100 has a zero low byte
        out.Unicode({u"no terminator", false, {}});
    }));
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.reader.ReadUnicodeText(), "Sch\xE4rfe A\x22");
    EXPECT_EQ(r.reader.ReadUnicodeText(), "Ab");
    EXPECT_EQ(r.reader.ReadUnicodeText(), "no terminator");
    EXPECT_EQ(r.reader.ReadInt32(), 0x7E7E7E7E);
}

TEST(TypedReads, IdsAreCodesForLengthZeroAndStringsOtherwise) {
    OpenedReader r(Fields([](vtools::PlainWriter& out) {
        out.Id(vtools::IdField::Code("Nm  "));
        out.Id(vtools::IdField::String("unsharpMask"));
        out.Id(vtools::IdField::String("Rds "));
    }));
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.reader.ReadID(), "Nm  ");
    EXPECT_EQ(r.reader.PlainOffset(), 8u); // length field and code
    EXPECT_EQ(r.reader.ReadID(), "unsharpMask");
    EXPECT_EQ(r.reader.ReadID(), "Rds ");
    EXPECT_EQ(r.reader.ReadInt32(), 0x7E7E7E7E);
}

TEST(TypedReads, LengthsTheRestOfTheStreamCannotHoldFailBeforeReading) {
    struct Row {
        const char* name;
        void (*write)(vtools::PlainWriter&);
        std::string (StoredStreamReader::*read)();
    };
    const Row rows[] = {
        {"byte text", [](vtools::PlainWriter& out) { out.Int32(INT32_MAX); },
         &StoredStreamReader::ReadByteText},
        {"string ID", [](vtools::PlainWriter& out) { out.Int32(50'000'000); }, &StoredStreamReader::ReadID},
        {"Unicode text", [](vtools::PlainWriter& out) { out.Int32(INT32_MAX); },
         &StoredStreamReader::ReadUnicodeText},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        vtools::PlainWriter out;
        row.write(out);
        out.Raw(NoiseBytes(100, 2));
        OpenedReader r(vtools::RawToStored(out.bytes()));
        ASSERT_TRUE(r.opened);
        EXPECT_THROW((r.reader.*row.read)(), ReaderFailure);
        // Refused at the length: only the length field has been inflated.
        EXPECT_EQ(r.reader.PlainOffset(), 4u);
    }
}

} // namespace
} // namespace vlh::test
