// Values, descriptors, lists, references and their one-line dumps.
#include <gtest/gtest.h>

#include "host/core/Dump.h"
#include "host/core/ObjectModel.h"
#include "host/core/Terminology.h"
#include "hostapi/FourCharCode.h"

namespace vhost {
namespace {

using vlh::FourCC;

TEST(DescriptorTest, PuttingAnExistingKeyReplacesItsValueInPlace) {
    Descriptor d;
    d.Put(FourCC("Amnt"), Value::Integer(1));
    d.Put(FourCC("Rds "), Value::Float(2));
    d.Put(FourCC("Amnt"), Value::String("three"));
    ASSERT_EQ(2u, d.Count());
    EXPECT_EQ(FourCC("Amnt"), d.Items()[0].first);
    EXPECT_EQ(Value::String("three"), d.Items()[0].second);
    EXPECT_EQ(FourCC("Rds "), d.Items()[1].first);
}

TEST(DescriptorTest, EraseTellsWhetherTheKeyWasThere) {
    Descriptor d;
    d.Put(FourCC("Amnt"), Value::Integer(1));
    EXPECT_FALSE(d.Erase(FourCC("Rds ")));
    EXPECT_TRUE(d.Erase(FourCC("Amnt")));
    EXPECT_FALSE(d.Has(FourCC("Amnt")));
}

TEST(ValueTest, CopiesOfNestedValuesAreDeep) {
    Descriptor inner;
    inner.Put(FourCC("Nm  "), Value::String("a"));
    Value object = Value::Object(FourCC("Lyr "), inner);
    inner.Put(FourCC("Nm  "), Value::String("changed after the put"));
    EXPECT_EQ(Value::String("a"), *object.Object().Find(FourCC("Nm  ")));

    Value copy = object;
    EXPECT_EQ(copy, object);
    EXPECT_NE(&copy.Object(), &object.Object());
}

TEST(ValueTest, EqualityLooksAtTypeAndEveryField) {
    EXPECT_NE(Value::Object(FourCC("Lyr "), {}), Value::GlobalObject(FourCC("Lyr "), {}));
    EXPECT_NE(Value::UnitFloat(FourCC("#Pxl"), 1), Value::UnitFloat(FourCC("#Prc"), 1));
    EXPECT_NE(Value::Enumerated(FourCC("Ordn"), FourCC("Trgt")),
              Value::Enumerated(FourCC("Ordn"), FourCC("Frst")));
    EXPECT_NE(Value::Integer(1), Value::Float(1));
    EXPECT_EQ(Value::Data("ab"), Value::Data("ab"));
    EXPECT_NE(Value::Data("ab"), Value::Alias("ab"));
}

TEST(ValueTest, AccessingAContainerOfAnotherTypeThrows) {
    EXPECT_THROW(Value::Integer(1).Object(), std::logic_error);
    EXPECT_THROW(Value::String("x").ListValue(), std::logic_error);
    EXPECT_THROW(Value::Boolean(true).ReferenceValue(), std::logic_error);
}

TEST(ReferenceTest, ContainerDropsTheFirstForm) {
    Reference ref;
    ref.Append(ReferenceForm::Property(FourCC("Prpr"), FourCC("HstN")));
    ref.Append(ReferenceForm::Enumerated(FourCC("capp"), FourCC("Ordn"), FourCC("Trgt")));
    Reference container = ref.Container();
    ASSERT_EQ(1u, container.Count());
    EXPECT_EQ(form::kEnumerated, container.Forms()[0].form);
    EXPECT_EQ(0u, container.Container().Count());
}

struct DumpCase {
    const char* what;
    Value value;
    const char* expected;
};

Reference LayerByName() {
    Reference r;
    r.Append(ReferenceForm::Name(FourCC("Lyr "), "Sharp \"copy\""));
    r.Append(ReferenceForm::Enumerated(FourCC("Dcmn"), FourCC("Ordn"), FourCC("Trgt")));
    return r;
}

TEST(DumpTest, EveryValueTypeHasAReadableText) {
    Descriptor layer;
    layer.Put(FourCC("Md  "), Value::Enumerated(FourCC("BlnM"), FourCC("Ovrl")));
    layer.Put(FourCC("Opct"), Value::UnitFloat(FourCC("#Prc"), 50));
    List list;
    list.Append(Value::Integer(1));
    list.Append(Value::Boolean(false));
    const DumpCase cases[] = {
        {"integer", Value::Integer(-7), "-7"},
        {"float", Value::Float(0.25), "0.25"},
        {"unit float", Value::UnitFloat(FourCC("#Pxl"), 1.5), "1.5 '#Pxl'"},
        {"text with escapes", Value::String("a\"b\\c\n"), "\"a\\\"b\\\\c\\x0A\""},
        {"boolean", Value::Boolean(true), "true"},
        {"enumerated", Value::Enumerated(FourCC("Ordn"), FourCC("Trgt")), "'Ordn':'Trgt'"},
        {"class", Value::Class(FourCC("Lyr ")), "class 'Lyr '"},
        {"global class", Value::GlobalClass(FourCC("Lyr ")), "global class 'Lyr '"},
        {"object", Value::Object(FourCC("Lyr "), layer), "'Lyr ' {'Md  ': 'BlnM':'Ovrl', 'Opct': 50 '#Prc'}"},
        {"list", Value::ListOf(list), "[1, false]"},
        {"reference", Value::ReferenceTo(LayerByName()),
         "ref('Lyr ' name \"Sharp \\\"copy\\\"\", 'Dcmn' enum 'Ordn':'Trgt')"},
        {"alias", Value::Alias("abc"), "alias(3 bytes)"},
        {"data", Value::Data("abcd"), "data(4 bytes)"},
    };
    for (const DumpCase& c : cases) {
        EXPECT_EQ(c.expected, DumpValue(c.value)) << c.what;
    }
}

TEST(DumpTest, RuntimeIDsPrintAsTheirStringIDsWhenTheTerminologyKnowsThem) {
    Terminology terms;
    const uint32_t colorSettings = *terms.ToTypeID("colorSettings");
    Descriptor d;
    d.Put(colorSettings, Value::Boolean(true));
    EXPECT_EQ("{$colorSettings: true}", DumpDescriptor(d, &terms));
    EXPECT_EQ("{0x7F000000: true}", DumpDescriptor(d));
    EXPECT_EQ("0x00000001", CodeText(1));
}

} // namespace
} // namespace vhost
