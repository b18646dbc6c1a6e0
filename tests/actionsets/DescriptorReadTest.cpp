// Reading recorded descriptors: every value type and reference form, nesting,
// and the ways a descriptor fails the load.
#include <gtest/gtest.h>

#include <climits>

#include "tests/actionsets/TestStreams.h"

namespace vlh::test {
namespace {

using vtools::DescriptorModel;
using vtools::FormModel;
using vtools::IdField;
using vtools::UnicodeText;
using vtools::ValueModel;

const DescriptorItem& OnlyItem(const Loaded& loaded) {
    const DescriptorBody& body = FirstDescriptor(*loaded.set);
    EXPECT_EQ(body.items.size(), 1u);
    return *body.items.at(0);
}

template <typename T>
const T& As(const DescriptorItem& item, ItemKind kind) {
    EXPECT_EQ(item.kind, kind);
    return dynamic_cast<const T&>(item);
}

TEST(DescriptorRead, ScalarValues) {
    {
        const Loaded loaded = LoadModel(SetWithDescriptor(OneItem(ValueModel::Boolean(true))));
        ASSERT_TRUE(loaded.ok);
        EXPECT_TRUE(As<BooleanItem>(OnlyItem(loaded), ItemKind::Boolean).value);
    }
    {
        const Loaded loaded = LoadModel(SetWithDescriptor(OneItem(ValueModel::Double(-0.3125))));
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(As<DoubleItem>(OnlyItem(loaded), ItemKind::Double).value, -0.3125);
    }
    {
        const Loaded loaded = LoadModel(SetWithDescriptor(OneItem(ValueModel::Integer(INT32_MIN))));
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(As<IntegerItem>(OnlyItem(loaded), ItemKind::Integer).value, INT32_MIN);
    }
    {
        const Loaded loaded = LoadModel(SetWithDescriptor(
            OneItem(ValueModel::Enum(IdField::Code("BlnM"), IdField::String("linearLight")))));
        ASSERT_TRUE(loaded.ok);
        const auto& item = As<EnumItem>(OnlyItem(loaded), ItemKind::Enum);
        EXPECT_EQ(item.type, "BlnM");
        EXPECT_EQ(item.value, "linearLight");
    }
    {
        const Loaded loaded =
            LoadModel(SetWithDescriptor(OneItem(ValueModel::Text(UnicodeText::Latin1("Sharp copy")))));
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(As<TextItem>(OnlyItem(loaded), ItemKind::Text).text, "Sharp copy");
    }
    {
        const Loaded loaded = LoadModel(SetWithDescriptor(OneItem(ValueModel::UnitDouble("#Prc", 150.5))));
        ASSERT_TRUE(loaded.ok);
        const auto& item = As<UnitDoubleItem>(OnlyItem(loaded), ItemKind::UnitDouble);
        EXPECT_EQ(item.unit, "#Prc");
        EXPECT_EQ(item.value, 150.5);
    }
}

TEST(DescriptorRead, EveryReferenceFormInStoredOrder) {
    FormModel name = FormModel::Name(IdField::Code("Lyr "), UnicodeText::Latin1("Background"));
    name.className = UnicodeText::Latin1("Layer");
    const Loaded loaded = LoadModel(SetWithDescriptor(OneItem(ValueModel::Reference({
        FormModel::Enum(IdField::Code("Lyr "), IdField::Code("Ordn"), IdField::Code("Trgt")),
        FormModel::Class(IdField::Code("Dcmn")),
        FormModel::Index(IdField::Code("Chnl"), -2),
        name,
        FormModel::Property(IdField::Code("Prpr"), IdField::String("colorSettings")),
    }))));
    ASSERT_TRUE(loaded.ok) << loaded.diagnostics.what;
    const auto& item = As<ReferenceItem>(OnlyItem(loaded), ItemKind::Reference);
    ASSERT_EQ(item.forms.size(), 5u);
    const auto& enumForm = dynamic_cast<const EnumForm&>(*item.forms[0]);
    EXPECT_EQ(enumForm.kind, FormKind::Enum);
    EXPECT_EQ(enumForm.classID, "Lyr ");
    EXPECT_EQ(enumForm.type, "Ordn");
    EXPECT_EQ(enumForm.value, "Trgt");
    EXPECT_EQ(item.forms[1]->kind, FormKind::Class);
    EXPECT_EQ(item.forms[1]->classID, "Dcmn");
    const auto& indexForm = dynamic_cast<const IndexForm&>(*item.forms[2]);
    EXPECT_EQ(indexForm.kind, FormKind::Index);
    EXPECT_EQ(indexForm.index, -2);
    const auto& nameForm = dynamic_cast<const NameForm&>(*item.forms[3]);
    EXPECT_EQ(nameForm.kind, FormKind::Name);
    EXPECT_EQ(nameForm.className, "Layer");
    EXPECT_EQ(nameForm.name, "Background");
    const auto& propertyForm = dynamic_cast<const PropertyForm&>(*item.forms[4]);
    EXPECT_EQ(propertyForm.kind, FormKind::Property);
    EXPECT_EQ(propertyForm.classID, "Prpr");
    EXPECT_EQ(propertyForm.key, "colorSettings");
}

TEST(DescriptorRead, ObjectsAndListsNest) {
    DescriptorModel inner = DescriptorModel::Of(
        IdField::Code("Lyr "),
        {{IdField::Code("Md  "), ValueModel::Enum(IdField::Code("BlnM"), IdField::Code("Ovrl"))}});
    const Loaded loaded = LoadModel(SetWithDescriptor(OneItem(ValueModel::List({
        ValueModel::Integer(7),
        ValueModel::Object(inner),
        ValueModel::Text(UnicodeText::Latin1("t")),
        ValueModel::Reference({FormModel::Class(IdField::Code("Dcmn"))}),
        ValueModel::Boolean(true), // read fine; only playing it fails
        ValueModel::List({ValueModel::Double(2.5)}),
    }))));
    ASSERT_TRUE(loaded.ok) << loaded.diagnostics.what;
    const auto& list = As<ListItem>(OnlyItem(loaded), ItemKind::List);
    ASSERT_EQ(list.elements.size(), 6u);
    for (const auto& element : list.elements) {
        EXPECT_EQ(element->key, ""); // list elements have no key
    }
    EXPECT_EQ(As<IntegerItem>(*list.elements[0], ItemKind::Integer).value, 7);
    const auto& object = As<ObjectItem>(*list.elements[1], ItemKind::Object);
    ASSERT_NE(object.body, nullptr);
    EXPECT_EQ(object.body->classID, "Lyr ");
    EXPECT_EQ(As<EnumItem>(*object.body->items.at(0), ItemKind::Enum).value, "Ovrl");
    EXPECT_EQ(list.elements[2]->kind, ItemKind::Text);
    EXPECT_EQ(list.elements[3]->kind, ItemKind::Reference);
    EXPECT_EQ(list.elements[4]->kind, ItemKind::Boolean);
    const auto& nested = As<ListItem>(*list.elements[5], ItemKind::List);
    EXPECT_EQ(As<DoubleItem>(*nested.elements.at(0), ItemKind::Double).value, 2.5);
}

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
