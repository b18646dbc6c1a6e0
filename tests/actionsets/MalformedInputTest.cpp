// Malformed input, table-driven: the bytes of a stream beside the exact
// outcome of loading it. A '^' in the hex marks the byte offset the load must
// report: where the fault was found, or how far a good Set reached.
#include <gtest/gtest.h>

#include <string>

#include "tests/actionsets/TestStreams.h"

namespace vlh::test {
namespace {

// Set header (version 16, empty name, not expanded) and one Effect "E" with one event.
#define HEAD "00000010 00000000 00 "
#define EFFECT "00000001 0000 00 00 0000 00000002 0045 0000 00 00000001 "
// Enabled event "invert", no display name, then the descriptor flag.
#define EVENT "00 01 00 00 54455854 00000006 696E76657274 00000000 "
// Descriptor flag -1, empty class name, class 'null', one item under 'Key '.
#define BODY1 "FFFFFFFF 00000000 00000000 6E756C6C 00000001 00000000 4B657920 "

struct Row {
    const char* name;
    const char* hex;
    const char* what; // empty: the Set loads
};

const Row kRows[] = {
    {"set without Effects", HEAD "00000000 ^", ""},
    {"bytes after the Set are not read", HEAD "00000000 ^ DEADBEEF", ""},
    {"negative Effect count", HEAD "80000000 ^", ""},
    {"negative name count", "00000010 FFFFFFFF 00 00000000 ^", ""},
    {"event without descriptor", HEAD EFFECT EVENT "00000000 ^", ""},
    {"zero-length ID takes eight bytes", HEAD EFFECT EVENT BODY1 "6C6F6E67 00000005 ^", ""},
    {"boolean in a list", HEAD EFFECT EVENT BODY1 "566C4C73 00000001 626F6F6C 01 ^", ""},

    {"version 15", "^0000000F 00000000 00 00000000", "version 15 is not 16"},
    {"version 17", "^00000011 00000000 00 00000000", "version 17 is not 16"},
    {"little-endian version", "^10000000 00000000 00 00000000", "version 268435456 is not 16"},
    {"empty stream", "^", "the data ends before the field it promises"},
    {"truncated version", "^000000", "the data ends before the field it promises"},
    {"missing Effect count", HEAD "^", "the data ends before the field it promises"},
    {"name count beyond the stream", "00000010 ^7FFFFFFF 0000",
     "a Unicode text longer than the rest of the stream"},
    {"name count above its units", "00000010 ^00000003 0041 0000",
     "the data ends before the field it promises"},
    {"Effect count beyond the stream", HEAD "^7FFFFFFF", "an Effect count beyond the rest of the stream"},
    {"Effect count above the Effects", HEAD "00000002 0000 00 00 0000 00000000 00 00000000 ^",
     "the data ends before the field it promises"},
    {"event count beyond the stream", HEAD "00000001 0000 00 00 0000 00000002 0045 0000 00 ^7FFFFFFF",
     "an event count beyond the rest of the stream"},
    {"identifier kind in lower case", HEAD EFFECT "00 01 00 00 ^74657874 00000000 00000000 00000000",
     "event identifier kind 'text' is not 'TEXT'"},
    {"numeric identifier kind", HEAD EFFECT "00 01 00 00 ^6C6F6E67 00000000 00000000 00000000",
     "event identifier kind 'long' is not 'TEXT'"},
    {"negative event name length", HEAD EFFECT "00 01 00 00 54455854 ^FFFFFFFF", "a negative text length"},
    {"event name beyond the stream", HEAD EFFECT "00 01 00 00 54455854 ^7FFFFFF0 41",
     "a text longer than the rest of the stream"},
    {"descriptor flag 1", HEAD EFFECT EVENT "^00000001", "descriptor flag 1 is neither -1 nor 0"},
    {"descriptor flag -2", HEAD EFFECT EVENT "^FFFFFFFE", "descriptor flag -2 is neither -1 nor 0"},
    {"descriptor flag without descriptor", HEAD EFFECT EVENT "FFFFFFFF ^",
     "the data ends before the field it promises"},
    {"negative class ID length", HEAD EFFECT EVENT "FFFFFFFF 00000000 ^FFFFFFFF", "a negative ID length"},
    {"item count beyond the stream", HEAD EFFECT EVENT "FFFFFFFF 00000000 00000000 6E756C6C ^7FFFFFFF",
     "an item count beyond the rest of the stream"},
    {"unknown type", HEAD EFFECT EVENT BODY1 "^7A7A7A7A 00000000", "unknown value type 'zzzz'"},
    {"alias in a list", HEAD EFFECT EVENT BODY1 "566C4C73 00000001 ^616C6973 00000000",
     "a list may not hold the type 'alis'"},
    {"negative alias length", HEAD EFFECT EVENT BODY1 "616C6973 ^FFFFFFFF", "a negative alias length"},
    {"element count beyond the stream", HEAD EFFECT EVENT BODY1 "566C4C73 ^7FFFFFFF",
     "an element count beyond the rest of the stream"},
    {"unknown reference form",
     HEAD EFFECT EVENT BODY1 "6F626A20 00000001 ^49646E74 00000000 00000000 4C797220",
     "unknown reference form 'Idnt'"},
    {"Unicode text in a form beyond the stream",
     HEAD EFFECT EVENT BODY1 "6F626A20 00000001 436C7373 ^7FFFFFFF",
     "a Unicode text longer than the rest of the stream"},
    {"truncated double", HEAD EFFECT EVENT BODY1 "646F7562 ^3FF000",
     "the data ends before the field it promises"},
};

TEST(MalformedInput, EachStreamGivesItsExactOutcome) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        size_t mark = SIZE_MAX;
        const Bytes raw = Hex(row.hex, &mark);
        ASSERT_NE(mark, SIZE_MAX) << "the row has no '^'";
        const Loaded loaded = LoadRaw(raw);
        const bool shouldLoad = std::string(row.what).empty();
        EXPECT_EQ(loaded.ok, shouldLoad);
        EXPECT_EQ(loaded.diagnostics.what, row.what);
        EXPECT_EQ(loaded.diagnostics.plainOffset, mark);
        EXPECT_FALSE(loaded.set->reader->IsOpen());
    }
}

// Damage to the stored form itself: what the inflater or the size check says,
// and how many stored bytes had been consumed.
struct StoredRow {
    const char* name;
    Bytes (*damage)(Bytes compressed); // on the compressed bytes, before scrambling
    size_t keep;                       // stored bytes handed to the reader; 0: all
    const char* what;
    uint64_t storedOffset;
};

const StoredRow kStoredRows[] = {
    {"damaged header check",
     [](Bytes c) {
         c[1] ^= 0x01;
         return c;
     },
     0, "incorrect header check", 2},
    {"not deflate",
     [](Bytes c) {
         c[0] = 0x79;
         c[1] = 0x18;
         return c;
     },
     0, "unknown compression method", 2},
    {"preset dictionary",
     [](Bytes c) {
         c[1] = 0xBB; // same check bits, dictionary flag set
         c.insert(c.begin() + 2, {0, 0, 0, 1});
         return c;
     },
     0, "the compressed data asks for a preset dictionary", 6},
    {"invalid block type",
     [](Bytes c) {
         c[2] |= 0x06;
         return c;
     },
     0, "invalid block type", 3},
    {"stored stream of one byte", [](Bytes c) { return c; }, 1,
     "the stored stream ends before the data it promises", 1},
    {"stored stream cut short", [](Bytes c) { return c; }, 12,
     "the stored stream ends before the data it promises", 12},
};

TEST(MalformedInput, DamagedStoredFormsFailWhereTheDamageShows) {
    const Bytes raw = vtools::SerialiseSet(SetWithDescriptor(OneItem(vtools::ValueModel::Text(
        vtools::UnicodeText::Latin1("a text long enough to need more than twelve stored bytes")))));
    for (const StoredRow& row : kStoredRows) {
        SCOPED_TRACE(row.name);
        Bytes stored = vtools::Scramble(row.damage(vtools::Compress(raw)));
        if (row.keep != 0) {
            stored.resize(row.keep);
        }
        const Loaded loaded = LoadStored(stored);
        EXPECT_FALSE(loaded.ok);
        EXPECT_EQ(loaded.diagnostics.what, row.what);
        EXPECT_EQ(loaded.diagnostics.storedOffset, row.storedOffset);
    }
}

} // namespace
} // namespace vlh::test
