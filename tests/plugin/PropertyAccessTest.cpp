// Reading host values by their own type, through the host's real answers to
// Get: every row of the reader's table, and what happens around it.
#include "hostapi/FourCharCode.h"
#include "hostapi/HostObjects.h"
#include "hostapi/HostValues.h"
#include "hostapi/PropertyAccess.h"
#include "tests/support/InProcessHost.h"

#include <cstring>

namespace vhost::test {
namespace {

using vlh::FourCC;
using vlh::GetDescriptorValue;
using vlh::GetTargetProperty;
using vlh::kStatusBadParameter;
using vlh::kStatusUnimplemented;

const uint32_t kApp = FourCC("capp");
const uint32_t kKey = FourCC("Tst ");

class PropertyAccess : public InProcessHostTest {
protected:
    void Answer(Value v) { host.OverrideProperty(kApp, kKey, std::move(v)); }
    // The getter routines called since the last clear.
    std::vector<std::string> Getters() {
        std::vector<std::string> names;
        for (const auto& record : host.Calls().Records()) {
            if (record.routine.rfind("Descriptor.Get", 0) == 0 && record.routine != "Descriptor.GetType") {
                names.push_back(record.routine);
            }
        }
        return names;
    }
};

TEST_F(PropertyAccess, ScalarTypesAreReadByTheirGetter) {
    Answer(Value::Integer(-7));
    int32_t integer = 0;
    EXPECT_EQ(0, GetTargetProperty(kApp, kKey, &integer));
    EXPECT_EQ(-7, integer);

    Answer(Value::Float(2.5));
    double number = 0;
    EXPECT_EQ(0, GetTargetProperty(kApp, kKey, &number));
    EXPECT_EQ(2.5, number);

    Answer(Value::Boolean(true));
    Boolean flag[2] = {0, 0x5A};
    EXPECT_EQ(0, GetTargetProperty(kApp, kKey, flag));
    EXPECT_EQ(1, flag[0]);
    EXPECT_EQ(0x5A, flag[1]) << "a boolean is one byte";

    Answer(Value::Class(FourCC("Lyr ")));
    DescriptorClassID classID = 0;
    EXPECT_EQ(0, GetTargetProperty(kApp, kKey, &classID));
    EXPECT_EQ(FourCC("Lyr "), classID);

    Answer(Value::GlobalClass(FourCC("Chnl")));
    classID = 0;
    EXPECT_EQ(0, GetTargetProperty(kApp, kKey, &classID));
    EXPECT_EQ(FourCC("Chnl"), classID);

    EXPECT_EQ((std::vector<std::string>{"Descriptor.GetInteger", "Descriptor.GetFloat", "Descriptor.GetBoolean",
                                        "Descriptor.GetClass", "Descriptor.GetGlobalClass"}),
              Getters());
}

TEST_F(PropertyAccess, ObjectsBelongToTheCaller) {
    Descriptor inner;
    inner.Put(FourCC("VrsM"), Value::Integer(9));
    for (Value v : {Value::Object(FourCC("Vrsn"), inner), Value::GlobalObject(FourCC("Vrsn"), inner)}) {
        Answer(v);
        PIActionDescriptor object = nullptr;
        EXPECT_EQ(kStatusBadParameter, GetTargetProperty(kApp, kKey, &object));
        DescriptorClassID objectClass = 0;
        ASSERT_EQ(0, GetTargetProperty(kApp, kKey, &object, &objectClass));
        EXPECT_EQ(FourCC("Vrsn"), objectClass);
        vlh::HostDescriptor owned(object);
        int32_t major = 0;
        EXPECT_EQ(0, GetDescriptorValue(owned.get(), FourCC("VrsM"), &major));
        EXPECT_EQ(9, major);
    }

}

TEST_F(PropertyAccess, AliasesAndPathsGoToTheAliasGetterAndOtherTypesAreNotRead) {
    for (const Value& v : {Value::Alias("alias-bytes"), Value::Path("/a/path")}) {
        Answer(v);
        host.Calls().Clear();
        Handle handle = nullptr;
        // This host does not hand out aliases: the getter's own status comes back.
        EXPECT_NE(0, GetTargetProperty(kApp, kKey, &handle));
        EXPECT_EQ(std::vector<std::string>{"Descriptor.GetAlias"}, Getters());
    }
    Answer(Value::Data("raw"));
    int32_t untouched = 41;
    EXPECT_EQ(kStatusUnimplemented, GetTargetProperty(kApp, kKey, &untouched));
    EXPECT_EQ(41, untouched);
}

TEST_F(PropertyAccess, TextMustFitWithItsTerminator) {
    Answer(Value::String(std::string(255, 'a')));
    char buffer[256];
    std::memset(buffer, 'q', sizeof buffer);
    uint32_t size = sizeof buffer;
    ASSERT_EQ(0, GetTargetProperty(kApp, kKey, buffer, &size));
    EXPECT_EQ(std::string(255, 'a'), std::string(buffer));
    EXPECT_EQ(255u, size);

    Answer(Value::String(std::string(256, 'b')));
    host.Calls().Clear();
    std::memset(buffer, 'q', sizeof buffer);
    size = sizeof buffer;
    EXPECT_EQ(kStatusBadParameter, GetTargetProperty(kApp, kKey, buffer, &size));
    EXPECT_EQ(256u, size) << "the length is reported";
    EXPECT_EQ(std::string(256, 'q'), std::string(buffer, sizeof buffer)) << "the buffer is left as it was";
    EXPECT_TRUE(CallsOf("Descriptor.GetString ").empty());
}

TEST_F(PropertyAccess, AMissingKeyLeavesTheCallersDefault) {
    vlh::HostDescriptor descriptor;
    ASSERT_EQ(0, vlh::gHost.descriptor->Make(descriptor.out()));
    ASSERT_EQ(0, vlh::gHost.descriptor->PutInteger(descriptor.get(), FourCC("Othr"), 1));
    int32_t value = 123;
    EXPECT_EQ(0, GetDescriptorValue(descriptor.get(), kKey, &value));
    EXPECT_EQ(123, value);
    EXPECT_TRUE(CallsOf("Descriptor.GetType").empty()) << "nothing is read past HasKey";
    // Asking the host for a property it does not have is the host's failure.
    EXPECT_EQ(-25922, GetTargetProperty(kApp, kKey, &value));
    EXPECT_EQ(123, value);
}

TEST_F(PropertyAccess, HostFailuresArePassedOnAndEverythingIsFreed) {
    int32_t depth = 0;
    host.CloseDocument();
    EXPECT_EQ(-25922, GetTargetProperty(FourCC("Dcmn"), FourCC("Dpth"), &depth));
    host.OpenDocument();
    const char* steps[] = {"Reference.Make", "Reference.PutProperty", "Reference.PutEnumerated", "Control.Get",
                           "Descriptor.HasKey", "Descriptor.GetType", "Descriptor.GetInteger"};
    for (const char* step : steps) {
        host.Calls().Clear();
        host.FaultPlan().Clear();
        host.FaultPlan().FailOnCall(step, 1, -25920);
        EXPECT_EQ(-25920, GetTargetProperty(FourCC("Dcmn"), FourCC("Dpth"), &depth)) << step;
        EXPECT_EQ(0u, host.Books().LiveCount()) << step << "\n" << host.Report();
    }
}

// The readers behind the fitness tests fall back to their defaults when the
// host cannot answer.
TEST_F(PropertyAccess, HostValuesFallBackWhenTheHostCannotAnswer) {
    host.OpenDocument().depth = 16;
    EXPECT_EQ(16, vlh::GetDocumentDepth());
    host.CloseDocument();
    EXPECT_EQ(0, vlh::GetDocumentDepth());

    host.App().versionMajor = 9;
    EXPECT_EQ(9, vlh::GetHostMajorVersion());
    Descriptor noMajor;
    noMajor.Put(FourCC("VrsN"), Value::Integer(1));
    host.OverrideProperty(kApp, FourCC("HstV"), Value::Object(FourCC("Vrsn"), noMajor));
    EXPECT_EQ(0, vlh::GetHostMajorVersion());
    host.RemoveProperty(kApp, FourCC("HstV"));
    EXPECT_EQ(0, vlh::GetHostMajorVersion());
    host.OverrideProperty(kApp, FourCC("HstV"), Value::Integer(30));
    EXPECT_EQ(0, vlh::GetHostMajorVersion()) << "a version that is no object is not read";

    char name[256] = "kept";
    host.RemoveProperty(kApp, FourCC("HstN"));
    EXPECT_NE(0, vlh::GetHostName(name, sizeof name));
    EXPECT_STREQ("kept", name);
}

} // namespace
} // namespace vhost::test
