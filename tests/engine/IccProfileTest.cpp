#include <gtest/gtest.h>

#include "TestImages.h"
#include "host/engine/IccProfile.h"

namespace vhost::engine {
namespace {

using test::IccProfileBytes;

TEST(IccDescription, ReadsAVersion2TextDescription) {
    EXPECT_EQ(IccDescription(IccProfileBytes("Studio RGB v2", false)), "Studio RGB v2");
}

TEST(IccDescription, EveryTruncationIsUnreadableNotACrash) {
    for (bool v4 : {false, true}) {
        const std::string full = IccProfileBytes("Truncated profile", v4);
        // The description is the first tag: its end is its offset plus its size.
        const auto word = [&](size_t at) {
            return static_cast<size_t>(static_cast<uint8_t>(full[at])) << 24 |
                   static_cast<size_t>(static_cast<uint8_t>(full[at + 1])) << 16 |
                   static_cast<size_t>(static_cast<uint8_t>(full[at + 2])) << 8 |
                   static_cast<size_t>(static_cast<uint8_t>(full[at + 3]));
        };
        const size_t end = word(128 + 8) + word(128 + 12);
        ASSERT_LT(end, full.size());
        for (size_t size = 0; size <= full.size(); ++size) {
            const auto expected = size < end ? std::nullopt : std::optional<std::string>("Truncated profile");
            EXPECT_EQ(IccDescription(full.substr(0, size)), expected) << "size " << size;
        }
    }
}

} // namespace
} // namespace vhost::engine
