// Copying names into 256-byte fields.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "actionsets/NameField.h"

namespace vlh {
namespace {

TEST(CopyToNameField, CopiesUpTo255BytesWholeAndCutsLongerNames) {
    const struct {
        size_t length;
        bool fits;
    } rows[] = {{0, true}, {1, true}, {254, true}, {255, true}, {256, false}, {300, false}, {100'000, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.length);
        std::string name;
        for (size_t i = 0; i < row.length; ++i) {
            name.push_back(char('a' + i % 26));
        }
        struct {
            char field[kNameFieldSize];
            char behind[8];
        } memory;
        std::memset(&memory, '#', sizeof memory);
        EXPECT_EQ(CopyToNameField(memory.field, name), row.fits);
        const size_t kept = std::min<size_t>(row.length, 255);
        EXPECT_EQ(std::strlen(memory.field), kept);
        EXPECT_EQ(std::string(memory.field, kept), name.substr(0, kept));
        // Nothing is written behind the terminator, let alone behind the field.
        for (size_t i = kept + 1; i < kNameFieldSize; ++i) {
            ASSERT_EQ(memory.field[i], '#') << i;
        }
        EXPECT_EQ(std::string(memory.behind, 8), "########");
    }
}

TEST(CopyToNameField, KeepsEightBitBytesAsTheyAre) {
    char field[kNameFieldSize];
    EXPECT_TRUE(CopyToNameField(field, "Sch\xE4rfe \xFF"));
    EXPECT_STREQ(field, "Sch\xE4rfe \xFF");
}

} // namespace
} // namespace vlh
