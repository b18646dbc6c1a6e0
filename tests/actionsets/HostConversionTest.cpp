// Converting recorded descriptors into host objects, against the real host:
// the exact sequence of host calls, the objects the host ends up with, and
// the release of everything made, also after a failure.
#include <gtest/gtest.h>

#include "actionsets/HostConversion.h"
#include "hostapi/FourCharCode.h"
#include "tests/actionsets/HostFixture.h"

namespace vlh::test {
namespace {

using vtools::DescriptorModel;
using vtools::FormModel;
using vtools::IdField;
using vtools::UnicodeText;
using vtools::ValueModel;

using ConversionTest = HostFixture;

// The host's own object behind a handle made by the module.
const vhost::Descriptor& HostSide(vhost::Host& host, PIActionDescriptor handle) {
    const vhost::Descriptor* d = host.Books().FindDescriptor(handle, "test");
    if (d == nullptr) {
        throw std::logic_error("not a live host descriptor");
    }
    return *d;
}

TEST_F(ConversionTest, EveryItemKindReachesItsRoutineInStoredOrder) {
    const DescriptorModel layer = DescriptorModel::Of(
        IdField::Code("Lyr "),
        {{IdField::Code("Md  "), ValueModel::Enum(IdField::Code("BlnM"), IdField::Code("Ovrl"))}});
    const auto set = Load(SetWithDescriptor(DescriptorModel::Of(
        IdField::Code("null"),
        {{IdField::Code("On  "), ValueModel::Boolean(true)},
         {IdField::Code("Amnt"), ValueModel::Double(0.5)},
         {IdField::Code("Md  "), ValueModel::Enum(IdField::Code("BlnM"), IdField::Code("Scrn"))},
         {IdField::Code("Thsh"), ValueModel::Integer(-4)},
         {IdField::Code("null"), ValueModel::Reference({FormModel::Class(IdField::Code("Dcmn"))})},
         {IdField::Code("T   "), ValueModel::Object(layer)},
         {IdField::Code("Nm  "), ValueModel::Text(UnicodeText::Latin1("copy"))},
         {IdField::Code("Type"), ValueModel::Class(IdField::Code("Lyr "))},
         {IdField::Code("Opct"), ValueModel::UnitDouble("#Prc", 50)},
         {IdField::Code("Lst "), ValueModel::List({ValueModel::Integer(3)})}})));
    {
        HostObjectList list;
        MakeHostDescriptor(list, FirstDescriptor(*set));
        EXPECT_EQ(list.size(), 4u); // one triple per object made
    }
    EXPECT_EQ(Calls(), (std::vector<std::string>{
                           "Descriptor.Make",
                           "Descriptor.PutBoolean desc#1 key='On  ' true",
                           "Descriptor.PutFloat desc#1 key='Amnt' 0.5",
                           "Descriptor.PutEnumerated desc#1 key='Md  ' type='BlnM' value='Scrn'",
                           "Descriptor.PutInteger desc#1 key='Thsh' -4",
                           "Reference.Make",
                           "Reference.PutClass ref#2 class='Dcmn'",
                           "Descriptor.PutReference desc#1 key='null' ref#2",
                           "Descriptor.Make",
                           "Descriptor.PutEnumerated desc#3 key='Md  ' type='BlnM' value='Ovrl'",
                           "Descriptor.PutObject desc#1 key='T   ' class='Lyr ' desc#3",
                           "Descriptor.PutString desc#1 key='Nm  ' \"copy\"",
                           "Descriptor.PutClass desc#1 key='Type' class='Lyr '",
                           "Descriptor.PutUnitFloat desc#1 key='Opct' 50 '#Prc'",
                           "List.Make",
                           "List.PutInteger list#4 3",
                           "Descriptor.PutList desc#1 key='Lst ' list#4",
                           // Released in the order made.
                           "Descriptor.Free desc#1",
                           "Reference.Free ref#2",
                           "Descriptor.Free desc#3",
                           "List.Free list#4",
                       }));
}

TEST_F(ConversionTest, ReferenceFormsApplyInStoredOrder) {
    const auto set = Load(SetWithDescriptor(OneItem(ValueModel::Reference({
        FormModel::Enum(IdField::Code("Lyr "), IdField::Code("Ordn"), IdField::Code("Trgt")),
        FormModel::Class(IdField::Code("Dcmn")),
        FormModel::Index(IdField::Code("Chnl"), 2),
        FormModel::Name(IdField::Code("Lyr "), UnicodeText::Latin1("Background")),
        FormModel::Property(IdField::Code("Prpr"), IdField::Code("Nm  ")),
    }))));
    HostObjectList list;
    const vhost::Descriptor& made = HostSide(host, MakeHostDescriptor(list, FirstDescriptor(*set)));
    EXPECT_EQ(Calls("Reference."),
              (std::vector<std::string>{
                  "Reference.Make", "Reference.PutEnumerated ref#2 class='Lyr ' type='Ordn' value='Trgt'",
                  "Reference.PutClass ref#2 class='Dcmn'", "Reference.PutIndex ref#2 class='Chnl' index=2",
                  "Reference.PutName ref#2 class='Lyr ' \"Background\"",
                  "Reference.PutProperty ref#2 class='Prpr' key='Nm  '"}));
    const vhost::Reference& reference = made.Find(FourCC("Key "))->ReferenceValue();
    ASSERT_EQ(reference.Count(), 5u);
    EXPECT_EQ(reference.Forms()[0],
              vhost::ReferenceForm::Enumerated(FourCC("Lyr "), FourCC("Ordn"), FourCC("Trgt")));
    EXPECT_EQ(reference.Forms()[1], vhost::ReferenceForm::Class(FourCC("Dcmn")));
}

TEST_F(ConversionTest, ListsTakeIntegersReferencesObjectsAndTexts) {
    const auto set = Load(SetWithDescriptor(DescriptorModel::Of(
        IdField::Code("null"),
        {{IdField::String("elements"),
          ValueModel::List({ValueModel::Integer(1),
                            ValueModel::Reference({FormModel::Class(IdField::Code("Dcmn"))}),
                            ValueModel::Object(DescriptorModel::Of(IdField::String("layerName"), {})),
                            ValueModel::Text(UnicodeText::Latin1("t"))})}})));
    {
        HostObjectList list;
        const vhost::Descriptor& made = HostSide(host, MakeHostDescriptor(list, FirstDescriptor(*set)));
        const vhost::List& hostList = made.Items().at(0).second.ListValue();
        ASSERT_EQ(hostList.Count(), 4u);
        EXPECT_EQ(hostList.At(0).Integer(), 1);
        EXPECT_EQ(hostList.At(1).Type(), vhost::type::kReference);
        EXPECT_EQ(hostList.At(2).Type(), vhost::type::kObject);
        EXPECT_EQ(hostList.At(3).Text(), "t");
    }
    const std::vector<std::string> calls = Calls();
    // The nested object's class is converted before the object is made; the
    // list's key only when the list is complete, right before PutList.
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "Descriptor.Make",
                         "List.Make",
                         "List.PutInteger list#2 1",
                         "Reference.Make",
                         "Reference.PutClass ref#3 class='Dcmn'",
                         "List.PutReference list#2 ref#3",
                         "Control.StringIDToTypeID \"layerName\"",
                         "Descriptor.Make",
                         calls.at(8), // PutObject with the run-time class of "layerName"
                         "List.PutString list#2 \"t\"",
                         "Control.StringIDToTypeID \"elements\"",
                         calls.at(11),
                         "Descriptor.Free desc#1",
                         "List.Free list#2",
                         "Reference.Free ref#3",
                         "Descriptor.Free desc#4",
                     }));
    EXPECT_EQ(calls.at(8).rfind("List.PutObject list#2 class=", 0), 0u);
    EXPECT_EQ(calls.at(11).rfind("Descriptor.PutList desc#1 key=", 0), 0u);
}

TEST_F(ConversionTest, ValuesTheHostIsNotGivenRaiseCodeOne) {
    struct Row {
        const char* name;
        ValueModel value;
    };
    const Row rows[] = {
        {"alias", ValueModel::Alias({1, 2, 3})},
        {"boolean in a list", ValueModel::List({ValueModel::Integer(1), ValueModel::Boolean(true)})},
        {"double in a list", ValueModel::List({ValueModel::Double(1)})},
        {"enumeration in a list",
         ValueModel::List({ValueModel::Enum(IdField::Code("Ordn"), IdField::Code("Trgt"))})},
        {"list in a list", ValueModel::List({ValueModel::List({})})},
        {"unit value in a list", ValueModel::List({ValueModel::UnitDouble("#Pxl", 1)})},
        {"class in a list", ValueModel::List({ValueModel::Class(IdField::Code("Lyr "))})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto set = Load(SetWithDescriptor(OneItem(row.value)));
        HostObjectList list;
        try {
            MakeHostDescriptor(list, FirstDescriptor(*set));
            ADD_FAILURE() << "converted";
        } catch (const HostError& error) {
            EXPECT_EQ(error.code(), 1);
        }
        EXPECT_GE(list.size(), 1u); // what was made before stays owned
    }
}

} // namespace
} // namespace vlh::test
