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

TEST(Scramble, FollowsTheChainWithTheLowEightBitsOfThePosition) {
    const Bytes compressed = vtools::Compress(NoiseBytes(1000, 7));
    ASSERT_GT(compressed.size(), 260u);
    const Bytes stored = vtools::Scramble(compressed);
    // Byte 0 is combined with the seed and position 0.
    EXPECT_EQ(stored[0], compressed[0] ^ 0x5B);
    EXPECT_EQ(stored[1], compressed[1] ^ stored[0] ^ 1);
    EXPECT_EQ(stored[255], compressed[255] ^ stored[254] ^ 255);
    // Byte 256 takes position bits 0 again; the chain carries stored bytes.
    EXPECT_EQ(stored[256], compressed[256] ^ stored[255]);
    EXPECT_EQ(stored[257], compressed[257] ^ stored[256] ^ 1);
    EXPECT_EQ(vtools::Unscramble(stored), compressed);
}

TEST(StoredStreamReader, RestoresTheFirstByteAndTheBytesPastPosition256) {
    const Bytes plain = NoiseBytes(1000, 11);
    OpenedReader r(vtools::RawToStored(plain));
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(ReadAll(r.reader, plain.size()), plain);
}

TEST(StoredStreamReader, AStreamScrambledWithPosition256NotWrappedReadsDifferently) {
    // The same stream, but byte 256 combined with 1 (as if the position were
    // taken modulo 255): the reader, which wraps at 256, must not restore it.
    const Bytes plain = NoiseBytes(1000, 11);
    const Bytes compressed = vtools::Compress(plain);
    Bytes stored = vtools::Scramble(compressed);
    stored[256] = uint8_t(compressed[256] ^ stored[255] ^ 1);
    for (size_t i = 257; i < stored.size(); ++i) {
        stored[i] = uint8_t(compressed[i] ^ stored[i - 1] ^ uint8_t(i));
    }
    OpenedReader r(stored);
    ASSERT_TRUE(r.opened);
    Bytes out(plain.size());
    try {
        r.reader.Read(out.data(), out.size());
    } catch (const ReaderFailure&) {
        return; // a damaged block is as good a proof as damaged data
    }
    EXPECT_NE(out, plain);
}

TEST(StoredStreamReader, AReadOfZeroBytesConsumesNothing) {
    const Bytes plain = NoiseBytes(64, 3);
    OpenedReader r(vtools::RawToStored(plain));
    ASSERT_TRUE(r.opened);
    uint8_t untouched = 0xA5;
    r.reader.Read(&untouched, 0);
    EXPECT_EQ(untouched, 0xA5);
    EXPECT_EQ(r.reader.StoredOffset(), 0u);
    EXPECT_EQ(r.reader.PlainOffset(), 0u);
    EXPECT_EQ(ReadAll(r.reader, 64), plain);
}

TEST(StoredStreamReader, SplitReadsGiveTheBytesOfOneRead) {
    const Bytes plain = NoiseBytes(5000, 5);
    const Bytes stored = vtools::RawToStored(plain);
    OpenedReader whole(stored);
    OpenedReader split(stored);
    ASSERT_TRUE(whole.opened && split.opened);
    Bytes four(4);
    split.reader.Read(four.data(), 1);
    split.reader.Read(four.data() + 1, 3);
    EXPECT_EQ(four, ReadAll(whole.reader, 4));
    // The rest in pieces of growing size.
    Bytes rest;
    for (size_t piece = 1; rest.size() < plain.size() - 4; ++piece) {
        const Bytes part = ReadAll(split.reader, std::min(piece, plain.size() - 4 - rest.size()));
        rest.insert(rest.end(), part.begin(), part.end());
    }
    EXPECT_EQ(rest, ReadAll(whole.reader, plain.size() - 4));
    EXPECT_EQ(Bytes(plain.begin() + 4, plain.end()), rest);
}

TEST(StoredStreamReader, AReadPastTheEndOfThePlainDataFails) {
    OpenedReader r(vtools::RawToStored(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(ReadAll(r.reader, 10), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    uint8_t more = 0;
    EXPECT_THROW(r.reader.Read(&more, 1), ReaderFailure);
    ASSERT_NE(r.reader.Fault(), nullptr);
    EXPECT_EQ(r.reader.Fault()->what, "the data ends before the field it promises");
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

TEST(StoredStreamReader, ADamagedZlibHeaderFailsOnTheFirstRead) {
    for (size_t damaged : {size_t(0), size_t(1)}) {
        Bytes stored = vtools::RawToStored(NoiseBytes(100, 1));
        stored[damaged] ^= 0x10;
        OpenedReader r(stored);
        ASSERT_TRUE(r.opened);
        uint8_t first = 0;
        EXPECT_THROW(r.reader.Read(&first, 1), ReaderFailure);
        ASSERT_NE(r.reader.Fault(), nullptr);
        EXPECT_EQ(r.reader.Fault()->storedOffset, 2u); // both header bytes seen, nothing more
    }
}

TEST(StoredStreamReader, CloseIsIdempotentAndAClosedReaderReadsNothing) {
    OpenedReader r(vtools::RawToStored(Bytes{1, 2, 3}));
    ASSERT_TRUE(r.opened);
    r.reader.Close();
    r.reader.Close();
    EXPECT_FALSE(r.reader.IsOpen());
    uint8_t byte = 0;
    EXPECT_THROW(r.reader.Read(&byte, 1), ReaderFailure);
}

TEST(StoredStreamReader, OpenRefusesNoSourceAndASecondOpen) {
    const Bytes stored = vtools::RawToStored(Bytes{1});
    StoredStreamReader reader;
    EXPECT_FALSE(reader.Open(nullptr, 0));
    EXPECT_TRUE(reader.Open(stored.data(), stored.size()));
    EXPECT_FALSE(reader.Open(stored.data(), stored.size()));
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

TEST(TypedReads, AUnicodeCountOfZeroOrLessIsEmptyAndTakesOnlyItsCount) {
    for (int32_t count : {0, -1, INT32_MIN}) {
        SCOPED_TRACE(count);
        vtools::PlainWriter out;
        out.Int32(count);
        out.Int32(0x7E7E7E7E);
        OpenedReader r(vtools::RawToStored(out.bytes()));
        ASSERT_TRUE(r.opened);
        EXPECT_EQ(r.reader.ReadUnicodeText(), "");
        EXPECT_EQ(r.reader.PlainOffset(), 4u);
        EXPECT_EQ(r.reader.ReadInt32(), 0x7E7E7E7E);
    }
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

TEST(TypedReads, ByteTextsAndCountedBytes) {
    OpenedReader r(Fields([](vtools::PlainWriter& out) {
        out.Text(vtools::ByteText::Of("highPass"));
        out.Text(vtools::ByteText::Of(""));
        out.Raw(Bytes{'a', 0, 'b'});
    }));
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.reader.ReadByteText(), "highPass");
    EXPECT_EQ(r.reader.ReadByteText(), "");
    EXPECT_EQ(r.reader.ReadCountedBytes(3), std::string("a\0b", 3));
    EXPECT_EQ(r.reader.ReadInt32(), 0x7E7E7E7E);
}

TEST(TypedReads, NegativeLengthsFail) {
    for (auto read : {&StoredStreamReader::ReadByteText, &StoredStreamReader::ReadID}) {
        vtools::PlainWriter out;
        out.Int32(-1);
        out.Int32(0);
        OpenedReader r(vtools::RawToStored(out.bytes()));
        ASSERT_TRUE(r.opened);
        EXPECT_THROW((r.reader.*read)(), ReaderFailure);
    }
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
        ASSERT_NE(r.reader.Fault(), nullptr);
        EXPECT_EQ(r.reader.Fault()->plainOffset, 0u);
    }
}

TEST(TypedReads, CheckCountBoundsByWhatTheStoredRemainderCanYield) {
    OpenedReader r(vtools::RawToStored(NoiseBytes(200, 4)));
    ASSERT_TRUE(r.opened);
    const uint64_t possible = r.reader.PlainBytesPossible();
    // Deflate yields at most 1032 bytes per stored byte.
    EXPECT_GE(possible, 200u);
    EXPECT_LT(possible, (r.stored.size() + 64) * 1032);
    EXPECT_NO_THROW(r.reader.CheckCount(-5, 10, "negative"));
    EXPECT_NO_THROW(r.reader.CheckCount(int64_t(possible / 10), 10, "fits"));
    EXPECT_THROW(r.reader.CheckCount(int64_t(possible / 10) + 1, 10, "too many"), ReaderFailure);
    EXPECT_EQ(r.reader.Fault()->what, "too many");
}

TEST(NestingGuard, AllowsTheBoundAndRefusesOneLevelMore) {
    OpenedReader r(vtools::RawToStored(Bytes{0}));
    ASSERT_TRUE(r.opened);
    std::vector<std::unique_ptr<StoredStreamReader::NestingGuard>> levels;
    for (int i = 0; i < kMaxNesting; ++i) {
        levels.push_back(std::make_unique<StoredStreamReader::NestingGuard>(r.reader));
    }
    EXPECT_THROW(StoredStreamReader::NestingGuard{r.reader}, ReaderFailure);
    levels.pop_back();
    EXPECT_NO_THROW(StoredStreamReader::NestingGuard{r.reader});
}

} // namespace
} // namespace vlh::test
