// The descriptor, list and reference suites as a module calls them.
#include <cstring>

#include "SuiteFixture.h"

namespace vhost::test {
namespace {

using DescriptorSuiteTest = SuiteFixture;

TEST_F(DescriptorSuiteTest, EveryPutIsReadBackWithItsTypeAndGetter) {
    PIActionDescriptor desc = NewDescriptor();
    PIActionDescriptor inner = NewDescriptor();
    PIActionList list = NewList();
    PIActionReference ref = NewReference();
    ASSERT_EQ(0, d->PutInteger(inner, FourCC("Thsh"), 3));
    ASSERT_EQ(0, l->PutInteger(list, 9));
    ASSERT_EQ(0, r->PutEnumerated(ref, FourCC("Lyr "), FourCC("Ordn"), FourCC("Trgt")));

    ASSERT_EQ(0, d->PutInteger(desc, FourCC("long"), -5));
    ASSERT_EQ(0, d->PutFloat(desc, FourCC("doub"), 0.5));
    ASSERT_EQ(0, d->PutUnitFloat(desc, FourCC("UntF"), FourCC("#Pxl"), 1.25));
    ASSERT_EQ(0, d->PutString(desc, FourCC("TEXT"), "Fine Detail"));
    ASSERT_EQ(0, d->PutBoolean(desc, FourCC("bool"), 1));
    ASSERT_EQ(0, d->PutList(desc, FourCC("VlLs"), list));
    ASSERT_EQ(0, d->PutObject(desc, FourCC("Objc"), FourCC("Lyr "), inner));
    ASSERT_EQ(0, d->PutGlobalObject(desc, FourCC("GlbO"), FourCC("Lyr "), inner));
    ASSERT_EQ(0, d->PutEnumerated(desc, FourCC("enum"), FourCC("BlnM"), FourCC("Ovrl")));
    ASSERT_EQ(0, d->PutReference(desc, FourCC("obj "), ref));
    ASSERT_EQ(0, d->PutClass(desc, FourCC("type"), FourCC("Lyr ")));
    ASSERT_EQ(0, d->PutGlobalClass(desc, FourCC("GlbC"), FourCC("Dcmn")));

    uint32_t count = 0;
    ASSERT_EQ(0, d->GetCount(desc, &count));
    ASSERT_EQ(12u, count);
    for (uint32_t i = 0; i < count; ++i) {
        DescriptorKeyID key = 0;
        DescriptorTypeID type = 0;
        ASSERT_EQ(0, d->GetKey(desc, i, &key));
        ASSERT_EQ(0, d->GetType(desc, key, &type));
        EXPECT_EQ(key, type) << "each key here names its value's type";
    }

    int32_t i32 = 0;
    double f = 0;
    DescriptorUnitID unit = 0;
    Boolean b = 0;
    DescriptorClassID cls = 0;
    DescriptorEnumTypeID et = 0;
    DescriptorEnumID ev = 0;
    EXPECT_EQ(0, d->GetInteger(desc, FourCC("long"), &i32));
    EXPECT_EQ(-5, i32);
    EXPECT_EQ(0, d->GetFloat(desc, FourCC("doub"), &f));
    EXPECT_EQ(0.5, f);
    EXPECT_EQ(0, d->GetUnitFloat(desc, FourCC("UntF"), &unit, &f));
    EXPECT_EQ(FourCC("#Pxl"), unit);
    EXPECT_EQ(1.25, f);
    EXPECT_EQ(0, d->GetBoolean(desc, FourCC("bool"), &b));
    EXPECT_EQ(1, b);
    EXPECT_EQ(0, d->GetEnumerated(desc, FourCC("enum"), &et, &ev));
    EXPECT_EQ(FourCC("BlnM"), et);
    EXPECT_EQ(FourCC("Ovrl"), ev);
    EXPECT_EQ(0, d->GetClass(desc, FourCC("type"), &cls));
    EXPECT_EQ(FourCC("Lyr "), cls);
    EXPECT_EQ(0, d->GetGlobalClass(desc, FourCC("GlbC"), &cls));
    EXPECT_EQ(FourCC("Dcmn"), cls);

    PIActionDescriptor gotObject = nullptr;
    ASSERT_EQ(0, d->GetObject(desc, FourCC("Objc"), &cls, &gotObject));
    EXPECT_EQ(FourCC("Lyr "), cls);
    EXPECT_EQ(0, d->GetInteger(gotObject, FourCC("Thsh"), &i32));
    EXPECT_EQ(3, i32);
    PIActionList gotList = nullptr;
    ASSERT_EQ(0, d->GetList(desc, FourCC("VlLs"), &gotList));
    EXPECT_EQ(0, l->GetInteger(gotList, 0, &i32));
    EXPECT_EQ(9, i32);
    PIActionReference gotRef = nullptr;
    ASSERT_EQ(0, d->GetReference(desc, FourCC("obj "), &gotRef));
    EXPECT_EQ(0, r->GetEnumerated(gotRef, &et, &ev));
    EXPECT_EQ(FourCC("Trgt"), ev);

    for (void* h : {static_cast<void*>(gotObject), static_cast<void*>(inner), static_cast<void*>(desc)}) {
        EXPECT_EQ(0, d->Free(static_cast<PIActionDescriptor>(h)));
    }
    EXPECT_EQ(0, l->Free(gotList));
    EXPECT_EQ(0, l->Free(list));
    EXPECT_EQ(0, r->Free(gotRef));
    EXPECT_EQ(0, r->Free(ref));
}

TEST_F(DescriptorSuiteTest, PutObjectKeepsACopySoTheModuleFreesItsOwn) {
    PIActionDescriptor outer = NewDescriptor();
    PIActionDescriptor inner = NewDescriptor();
    ASSERT_EQ(0, d->PutString(inner, FourCC("Nm  "), "before"));
    ASSERT_EQ(0, d->PutObject(outer, FourCC("T   "), FourCC("Lyr "), inner));
    ASSERT_EQ(0, d->PutString(inner, FourCC("Nm  "), "after"));
    ASSERT_EQ(0, d->Free(inner));
    EXPECT_EQ(Value::String("before"), *Desc(outer).Find(FourCC("T   "))->Object().Find(FourCC("Nm  ")));
    EXPECT_EQ(0, d->Free(outer));
}

TEST_F(DescriptorSuiteTest, GetStringCopiesAtMostMaxLengthMinusOneBytesAndANul) {
    PIActionDescriptor desc = NewDescriptor();
    ASSERT_EQ(0, d->PutString(desc, FourCC("Nm  "), "Sharpen"));
    uint32_t length = 0;
    ASSERT_EQ(0, d->GetStringLength(desc, FourCC("Nm  "), &length));
    EXPECT_EQ(7u, length);
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(0, d->GetString(desc, FourCC("Nm  "), buffer, 8));
    EXPECT_STREQ("Sharpen", buffer);
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(0, d->GetString(desc, FourCC("Nm  "), buffer, 4));
    EXPECT_STREQ("Sha", buffer);
    EXPECT_EQ('x', buffer[4]);
    EXPECT_EQ(paramErr, d->GetString(desc, FourCC("Nm  "), buffer, 0));
    EXPECT_EQ(0, d->Free(desc));
}

TEST_F(DescriptorSuiteTest, MissingKeysAndWrongTypesAnswerDistinctErrors) {
    PIActionDescriptor desc = NewDescriptor();
    ASSERT_EQ(0, d->PutString(desc, FourCC("Nm  "), "x"));
    int32_t value = 77;
    DescriptorTypeID type = 0;
    Boolean has = 1;
    EXPECT_EQ(errMissingParameter, d->GetInteger(desc, FourCC("Amnt"), &value));
    EXPECT_EQ(errMissingParameter, d->GetType(desc, FourCC("Amnt"), &type));
    EXPECT_EQ(-1703, d->GetInteger(desc, FourCC("Nm  "), &value));
    EXPECT_EQ(77, value);
    EXPECT_EQ(0, d->HasKey(desc, FourCC("Amnt"), &has));
    EXPECT_EQ(0, has);
    DescriptorKeyID key = 0;
    EXPECT_EQ(-39, d->GetKey(desc, 1, &key));
    EXPECT_EQ(0, d->Free(desc));
}

TEST_F(DescriptorSuiteTest, EraseClearHasKeysAndIsEqual) {
    PIActionDescriptor a = NewDescriptor();
    PIActionDescriptor b = NewDescriptor();
    ASSERT_EQ(0, d->PutInteger(a, FourCC("Amnt"), 1));
    ASSERT_EQ(0, d->PutInteger(a, FourCC("Rds "), 2));
    ASSERT_EQ(0, d->PutInteger(b, FourCC("Amnt"), 1));
    Boolean flag = 0;
    DescriptorKeyID both[] = {FourCC("Amnt"), FourCC("Rds "), 0};
    EXPECT_EQ(0, d->HasKeys(a, both, &flag));
    EXPECT_EQ(1, flag);
    EXPECT_EQ(0, d->HasKeys(b, both, &flag));
    EXPECT_EQ(0, flag);
    EXPECT_EQ(0, d->IsEqual(a, b, &flag));
    EXPECT_EQ(0, flag);
    EXPECT_EQ(0, d->Erase(a, FourCC("Rds ")));
    EXPECT_EQ(0, d->IsEqual(a, b, &flag));
    EXPECT_EQ(1, flag);
    EXPECT_EQ(0, d->Clear(a));
    EXPECT_EQ(0u, Desc(a).Count());
    EXPECT_EQ(0, d->Free(a));
    EXPECT_EQ(0, d->Free(b));
}

TEST_F(DescriptorSuiteTest, IntegersDataAndHostStringsRoundTrip) {
    PIActionDescriptor desc = NewDescriptor();
    int32_t in[] = {4, 5, 6};
    int32_t out[3] = {};
    ASSERT_EQ(0, d->PutIntegers(desc, FourCC("Lst "), 3, in));
    ASSERT_EQ(0, d->GetIntegers(desc, FourCC("Lst "), 3, out));
    EXPECT_EQ(6, out[2]);
    EXPECT_EQ(paramErr, d->GetIntegers(desc, FourCC("Lst "), 4, out));

    char bytes[] = {1, 0, 2};
    ASSERT_EQ(0, d->PutData(desc, FourCC("data"), 3, bytes));
    int32_t length = 0;
    ASSERT_EQ(0, d->GetDataLength(desc, FourCC("data"), &length));
    ASSERT_EQ(3, length);
    char back[3] = {};
    ASSERT_EQ(0, d->GetData(desc, FourCC("data"), back));
    EXPECT_EQ(0, std::memcmp(bytes, back, 3));

    ASZString s = nullptr;
    ASSERT_EQ(0, z->MakeFromCString("Crisp", 5, &s));
    ASSERT_EQ(0, d->PutZString(desc, FourCC("Nm  "), s));
    ASSERT_EQ(0, z->Release(s));
    ASZString got = nullptr;
    ASSERT_EQ(0, d->GetZString(desc, FourCC("Nm  "), &got));
    char text[8];
    ASSERT_EQ(0, z->AsCString(got, text, sizeof text, 1));
    EXPECT_STREQ("Crisp", text);
    EXPECT_EQ(0, z->Release(got));
    EXPECT_EQ(0, d->Free(desc));
}

TEST_F(DescriptorSuiteTest, HandlesOfAnotherKindOrAlreadyFreedAreRefusedAndRecorded) {
    PIActionDescriptor desc = NewDescriptor();
    PIActionReference ref = NewReference();
    EXPECT_EQ(paramErr, d->PutInteger(reinterpret_cast<PIActionDescriptor>(ref), FourCC("Amnt"), 1));
    EXPECT_EQ(paramErr,
              d->PutObject(desc, FourCC("T   "), FourCC("Lyr "), reinterpret_cast<PIActionDescriptor>(ref)));
    EXPECT_EQ(0u, Desc(desc).Count());
    EXPECT_EQ(0, d->Free(desc));
    EXPECT_EQ(paramErr, d->Free(desc));
    EXPECT_EQ(paramErr, d->Free(nullptr));
    EXPECT_EQ(0, r->Free(ref));
    ASSERT_EQ(4u, host.Books().Violations().size());
    EXPECT_EQ("Descriptor.Free", host.Books().Violations()[2].routine);
    EXPECT_EQ("desc#1 used after it was freed", host.Books().Violations()[2].what);
    ExpectViolations(4);
}

TEST_F(DescriptorSuiteTest, ReferenceFormsKeepCallOrderAndTheFirstIsRead) {
    PIActionReference ref = NewReference();
    ASSERT_EQ(0, r->PutName(ref, FourCC("Lyr "), "Background"));
    ASSERT_EQ(0, r->PutIndex(ref, FourCC("Chnl"), 2));
    ASSERT_EQ(0, r->PutEnumerated(ref, FourCC("Dcmn"), FourCC("Ordn"), FourCC("Trgt")));
    DescriptorFormID form = 0;
    DescriptorClassID cls = 0;
    ASSERT_EQ(0, r->GetForm(ref, &form));
    EXPECT_EQ(FourCC("name"), form);
    ASSERT_EQ(0, r->GetDesiredClass(ref, &cls));
    EXPECT_EQ(FourCC("Lyr "), cls);
    char name[4];
    EXPECT_EQ(0, r->GetName(ref, name, sizeof name));
    EXPECT_STREQ("Bac", name);
    uint32_t index = 0;
    EXPECT_EQ(paramErr, r->GetIndex(ref, &index)) << "the first form is a name";

    PIActionReference container = nullptr;
    ASSERT_EQ(0, r->GetContainer(ref, &container));
    ASSERT_EQ(0, r->GetIndex(container, &index));
    EXPECT_EQ(2u, index);
    EXPECT_EQ("ref('Lyr ' name \"Background\", 'Chnl' index 2, 'Dcmn' enum 'Ordn':'Trgt')",
              DumpReference(*host.Books().FindReference(ref, "test")));
    EXPECT_EQ(0, r->Free(container));
    EXPECT_EQ(0, r->Free(ref));

    PIActionReference single = NewReference();
    ASSERT_EQ(0, r->PutClass(single, FourCC("Lyr ")));
    PIActionReference none = reinterpret_cast<PIActionReference>(1);
    EXPECT_EQ(-25922, r->GetContainer(single, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(0, r->Free(single));
}

TEST_F(DescriptorSuiteTest, ListElementsKeepCallOrder) {
    PIActionList list = NewList();
    PIActionDescriptor obj = NewDescriptor();
    PIActionReference ref = NewReference();
    ASSERT_EQ(0, r->PutClass(ref, FourCC("Lyr ")));
    ASSERT_EQ(0, l->PutInteger(list, 1));
    ASSERT_EQ(0, l->PutReference(list, ref));
    ASSERT_EQ(0, l->PutObject(list, FourCC("Lyr "), obj));
    ASSERT_EQ(0, l->PutString(list, "four"));
    uint32_t count = 0;
    ASSERT_EQ(0, l->GetCount(list, &count));
    EXPECT_EQ(4u, count);
    const uint32_t types[] = {FourCC("long"), FourCC("obj "), FourCC("Objc"), FourCC("TEXT")};
    for (uint32_t i = 0; i < count; ++i) {
        DescriptorTypeID type = 0;
        ASSERT_EQ(0, l->GetType(list, i, &type));
        EXPECT_EQ(types[i], type) << i;
    }
    char text[8];
    EXPECT_EQ(0, l->GetString(list, 3, text, sizeof text));
    EXPECT_STREQ("four", text);
    int32_t v = 0;
    EXPECT_EQ(errMissingParameter, l->GetInteger(list, 4, &v));
    EXPECT_EQ(-1703, l->GetInteger(list, 3, &v));
    EXPECT_EQ(0, l->Free(list));
    EXPECT_EQ(0, d->Free(obj));
    EXPECT_EQ(0, r->Free(ref));
}

} // namespace
} // namespace vhost::test
