// Recorded descriptors that fail the load: what a value or a count may not
// be, and how deep descriptors and lists may nest. (What each value reads as
// the conversion tests see in the host calls it becomes.)
#include <gtest/gtest.h>

#include <climits>

#include "tests/actionsets/TestStreams.h"

namespace vlh::test {
namespace {

using vtools::DescriptorModel;
using vtools::FormModel;
using vtools::IdField;
using vtools::ValueModel;

// Each of these fails the whole load, and the reader is closed after it.
TEST(DescriptorRead, ValuesThatFailTheLoad) {
    ValueModel negativeAlias = ValueModel::Alias({});
    negativeAlias.count = -1;
    ValueModel hugeAlias = ValueModel::Alias({1, 2, 3});
    hugeAlias.count = INT32_MAX;
    ValueModel shortAlias = ValueModel::Alias({1, 2, 3});
    shortAlias.count = 40; // possible by size, but the stream ends first
    ValueModel manyElements = ValueModel::List({ValueModel::Integer(1)});
    manyElements.count = 100'000'000;
    ValueModel manyForms = ValueModel::Reference({});
    manyForms.count = INT32_MAX;
    const std::pair<const char*, ValueModel> rows[] = {
        {"unknown type", ValueModel::Raw("zzzz", {0, 0, 0, 0})},
        {"type codes are case-sensitive", ValueModel::Raw("LONG", {0, 0, 0, 1})},
        {"alias in a list", ValueModel::List({ValueModel::Alias({1, 2})})},
        {"unknown type in a list", ValueModel::List({ValueModel::Integer(1), ValueModel::Raw("what", {})})},
        {"unknown form", ValueModel::Reference({FormModel::Raw("Idnt", {0, 0, 0, 0})})},
        {"unknown type inside an object",
         ValueModel::Object(DescriptorModel::Of(IdField::Code("Lyr "),
                                                {{IdField::Code("Nm  "), ValueModel::Raw("str ", {})}}))},
        {"negative alias length", negativeAlias},
        {"alias longer than the stream", hugeAlias},
        {"alias runs out", shortAlias},
        {"element count", manyElements},
        {"form count", manyForms},
    };
    for (const auto& [what, value] : rows) {
        const Loaded loaded = LoadModel(SetWithDescriptor(OneItem(value)));
        EXPECT_FALSE(loaded.ok) << what;
        EXPECT_FALSE(loaded.set->reader->IsOpen()) << what;
    }
}

DescriptorModel NestedObjects(int depth) {
    DescriptorModel body =
        DescriptorModel::Of(IdField::Code("Lyr "), {{IdField::Code("Nm  "), ValueModel::Integer(0)}});
    for (int i = 0; i < depth; ++i) {
        body =
            DescriptorModel::Of(IdField::Code("Lyr "), {{IdField::Code("T   "), ValueModel::Object(body)}});
    }
    return body;
}

TEST(DescriptorRead, NestingIsBoundedAt32Levels) {
    // The event's own descriptor is the first level.
    EXPECT_TRUE(LoadModel(SetWithDescriptor(NestedObjects(kMaxNesting - 1))).ok);
    EXPECT_FALSE(LoadModel(SetWithDescriptor(NestedObjects(kMaxNesting))).ok);

    ValueModel lists = ValueModel::Integer(1);
    for (int i = 0; i < kMaxNesting - 1; ++i) {
        lists = ValueModel::List({lists});
    }
    EXPECT_TRUE(LoadModel(SetWithDescriptor(OneItem(lists))).ok);
    lists = ValueModel::List({lists});
    EXPECT_FALSE(LoadModel(SetWithDescriptor(OneItem(lists))).ok);
}

} // namespace
} // namespace vlh::test
