// Get answers, Play and its handlers, SuspendHistory, terminology through the
// control suite.
#include <cstring>

#include "SuiteFixture.h"

namespace vhost::test {
namespace {

using ControlSuiteTest = SuiteFixture;

// Builds the reference a module uses to read one property of the current
// object of a class (key 0: the whole object).
PIActionReference TargetReference(const PSActionReferenceProcs* r, DescriptorClassID cls,
                                  DescriptorKeyID key) {
    PIActionReference ref = nullptr;
    EXPECT_EQ(0, r->Make(&ref));
    if (key != 0) {
        EXPECT_EQ(0, r->PutProperty(ref, FourCC("Prpr"), key));
    }
    EXPECT_EQ(0, r->PutEnumerated(ref, cls, FourCC("Ordn"), FourCC("Trgt")));
    return ref;
}

// What Control.Get answers for one property, as a host-side copy; the status
// through *status.
std::optional<Value> GetProperty(SuiteFixture& f, DescriptorClassID cls, DescriptorKeyID key, OSErr* status) {
    PIActionReference ref = TargetReference(f.r, cls, key);
    PIActionDescriptor result = nullptr;
    *status = f.c->Get(&result, ref);
    EXPECT_EQ(0, f.r->Free(ref));
    if (*status != 0) {
        EXPECT_EQ(nullptr, result);
        return std::nullopt;
    }
    std::optional<Value> v;
    if (const Value* found = f.host.Books().FindDescriptor(result, "test")->Find(key)) {
        v = *found;
    }
    EXPECT_EQ(1u, f.host.Books().FindDescriptor(result, "test")->Count());
    EXPECT_EQ(0, f.d->Free(result));
    return v;
}

TEST_F(ControlSuiteTest, ApplicationPropertiesComeFromTheHostState) {
    host.App().hostName = "Test Host";
    host.App().versionMajor = 7;
    host.App().versionMinor = 3;
    host.App().rulerUnits = FourCC("RrCm");
    host.App().SelectColourPreset("Prepress Standard");
    OSErr status = 0;
    EXPECT_EQ(Value::String("Test Host"), GetProperty(*this, FourCC("capp"), FourCC("HstN"), &status));
    EXPECT_EQ(Value::Enumerated(FourCC("RlrU"), FourCC("RrCm")),
              GetProperty(*this, FourCC("capp"), FourCC("RlrU"), &status));
    auto version = GetProperty(*this, FourCC("capp"), FourCC("HstV"), &status);
    ASSERT_TRUE(version);
    EXPECT_EQ(FourCC("Vrsn"), version->ClassID());
    EXPECT_EQ(Value::Integer(7), *version->Object().Find(FourCC("VrsM")));
    EXPECT_EQ(Value::Integer(3), *version->Object().Find(FourCC("VrsN")));

    const uint32_t colorSettings = *host.Terms().ToTypeID("colorSettings");
    auto colour = GetProperty(*this, FourCC("capp"), colorSettings, &status);
    ASSERT_TRUE(colour);
    EXPECT_EQ(type::kObject, colour->Type());
    EXPECT_EQ(colorSettings, colour->ClassID());
    EXPECT_EQ(Value::String("Prepress Standard"), *colour->Object().Find(FourCC("Nm  ")));
    for (const char* key : {"askMismatchOpening", "askMismatchPasting", "askMissing"}) {
        EXPECT_EQ(Value::Boolean(true), *colour->Object().Find(*host.Terms().ToTypeID(key))) << key;
    }
}

TEST_F(ControlSuiteTest, DocumentSizesAreInPointsAndResolutionInPixelsPerInch) {
    Document doc;
    doc.depth = 16;
    doc.width = 3000;
    doc.height = 1500;
    doc.resolution = 300;
    doc.profile = "Wide Gamut";
    host.OpenDocument(doc);
    OSErr status = 0;
    EXPECT_EQ(Value::Integer(16), GetProperty(*this, FourCC("Dcmn"), FourCC("Dpth"), &status));
    EXPECT_EQ(Value::UnitFloat(FourCC("#Pnt"), 720),
              GetProperty(*this, FourCC("Dcmn"), FourCC("Wdth"), &status));
    EXPECT_EQ(Value::UnitFloat(FourCC("#Pnt"), 360),
              GetProperty(*this, FourCC("Dcmn"), FourCC("Hght"), &status));
    EXPECT_EQ(Value::UnitFloat(FourCC("#Rsl"), 300),
              GetProperty(*this, FourCC("Dcmn"), FourCC("Rslt"), &status));
    EXPECT_EQ(Value::String("Wide Gamut"),
              GetProperty(*this, FourCC("Dcmn"), *host.Terms().ToTypeID("profile"), &status));
}

TEST_F(ControlSuiteTest, WithoutADocumentDocumentQueriesFail) {
    OSErr status = 0;
    EXPECT_EQ(std::nullopt, GetProperty(*this, FourCC("Dcmn"), FourCC("Dpth"), &status));
    EXPECT_EQ(-25922, status);
    host.OpenDocument();
    EXPECT_EQ(Value::Integer(8), GetProperty(*this, FourCC("Dcmn"), FourCC("Dpth"), &status));
    host.CloseDocument();
    EXPECT_EQ(std::nullopt, GetProperty(*this, FourCC("Dcmn"), FourCC("Dpth"), &status));
}

TEST_F(ControlSuiteTest, OverridesReplaceAddAndRemoveProperties) {
    host.OpenDocument();
    host.OverrideProperty(FourCC("Dcmn"), FourCC("Dpth"), Value::String("sixteen"));
    host.OverrideProperty(FourCC("capp"), FourCC("Xtra"), Value::Alias("raw"));
    host.RemoveProperty(FourCC("capp"), FourCC("HstN"));
    OSErr status = 0;
    EXPECT_EQ(Value::String("sixteen"), GetProperty(*this, FourCC("Dcmn"), FourCC("Dpth"), &status));
    EXPECT_EQ(Value::Alias("raw"), GetProperty(*this, FourCC("capp"), FourCC("Xtra"), &status));
    EXPECT_EQ(std::nullopt, GetProperty(*this, FourCC("capp"), FourCC("HstN"), &status));
    EXPECT_EQ(-25922, status);
    host.ClearPropertyOverrides();
    EXPECT_EQ(Value::String("Vellicor Host"), GetProperty(*this, FourCC("capp"), FourCC("HstN"), &status));
}

TEST_F(ControlSuiteTest, TheEnumeratedFormAloneAnswersTheWholeObject) {
    PIActionReference ref = TargetReference(r, FourCC("capp"), 0);
    PIActionDescriptor result = nullptr;
    ASSERT_EQ(0, c->Get(&result, ref));
    EXPECT_EQ(ApplicationObject(host.App(), host.Terms()), Desc(result));
    EXPECT_EQ(0, d->Free(result));
    EXPECT_EQ(0, r->Free(ref));
}

TEST_F(ControlSuiteTest, ReferencesOfAnotherShapeAreNotFound) {
    struct Shape {
        const char* what;
        void (*build)(const PSActionReferenceProcs*, PIActionReference);
    };
    const Shape shapes[] = {
        {"empty", [](const PSActionReferenceProcs*, PIActionReference) {}},
        {"property of the class itself",
         [](const PSActionReferenceProcs* rs, PIActionReference ref) {
             rs->PutProperty(ref, FourCC("capp"), FourCC("HstN"));
             rs->PutEnumerated(ref, FourCC("capp"), FourCC("Ordn"), FourCC("Trgt"));
         }},
        {"first, not target",
         [](const PSActionReferenceProcs* rs, PIActionReference ref) {
             rs->PutEnumerated(ref, FourCC("capp"), FourCC("Ordn"), FourCC("Frst"));
         }},
        {"unknown class",
         [](const PSActionReferenceProcs* rs, PIActionReference ref) {
             rs->PutEnumerated(ref, FourCC("Lyr "), FourCC("Ordn"), FourCC("Trgt"));
         }},
        {"by name", [](const PSActionReferenceProcs* rs,
                       PIActionReference ref) { rs->PutName(ref, FourCC("capp"), "x"); }},
    };
    for (const Shape& s : shapes) {
        PIActionReference ref = NewReference();
        s.build(r, ref);
        PIActionDescriptor result = nullptr;
        EXPECT_EQ(-25922, c->Get(&result, ref)) << s.what;
        EXPECT_EQ(nullptr, result) << s.what;
        EXPECT_EQ(0, r->Free(ref));
    }
}

TEST_F(ControlSuiteTest, PlayRecordsTheEventAndConsultsHandlersInOrder) {
    std::vector<std::string> seen;
    host.AddPlayHandler("unsharpMask", [&](Host&, const PlayCall& call) -> std::optional<PlayAnswer> {
        seen.push_back("first " + call.stringID);
        return std::nullopt;
    });
    host.AddPlayHandler(FourCC("UnsM"), [&](Host&, const PlayCall& call) -> std::optional<PlayAnswer> {
        seen.push_back("second");
        PlayAnswer a;
        Descriptor reply;
        reply.Put(FourCC("Amnt"), *call.descriptor->Find(FourCC("Amnt")));
        a.reply = reply;
        return a;
    });
    host.AddFallbackPlayHandler([&](Host&, const PlayCall& call) -> std::optional<PlayAnswer> {
        seen.push_back("fallback " + CodeText(call.eventID));
        return PlayAnswer{-25920, std::nullopt};
    });

    PIActionDescriptor params = NewDescriptor();
    ASSERT_EQ(0, d->PutUnitFloat(params, FourCC("Amnt"), FourCC("#Prc"), 120));
    PIActionDescriptor result = nullptr;
    ASSERT_EQ(0, c->Play(&result, FourCC("UnsM"), params, plugInDialogSilent));
    ASSERT_NE(nullptr, result);
    EXPECT_EQ(Value::UnitFloat(FourCC("#Prc"), 120), *Desc(result).Find(FourCC("Amnt")));
    EXPECT_EQ(0, d->Free(result));

    result = reinterpret_cast<PIActionDescriptor>(1);
    EXPECT_EQ(-25920, c->Play(&result, FourCC("Zzzz"), nullptr, plugInDialogDontDisplay));
    EXPECT_EQ(nullptr, result);
    EXPECT_EQ(0, d->Free(params));

    EXPECT_EQ((std::vector<std::string>{"first unsharpMask", "second", "fallback 'Zzzz'"}), seen);
    ASSERT_EQ(2u, host.Events().Plays().size());
    const PlayRecord& first = host.Events().Plays()[0];
    EXPECT_EQ("unsharpMask", first.stringID);
    EXPECT_EQ(plugInDialogSilent, first.options);
    ASSERT_TRUE(first.descriptor);
    EXPECT_EQ(Value::UnitFloat(FourCC("#Prc"), 120), *first.descriptor->Find(FourCC("Amnt")));
    EXPECT_EQ((std::vector<std::string>{"play unsharpMask options=2 {'Amnt': 120 '#Prc'}",
                                        "play 'Zzzz' options=0 -> -25920"}),
              host.Events().Lines());
}

TEST_F(ControlSuiteTest, PlayWithNoHandlerSucceedsWithNoResult) {
    PIActionDescriptor result = reinterpret_cast<PIActionDescriptor>(1);
    EXPECT_EQ(0, c->Play(&result, FourCC("Dstt"), nullptr, plugInDialogSilent));
    EXPECT_EQ(nullptr, result);
    EXPECT_EQ((std::vector<std::string>{"desaturate"}), host.Events().PlayedEvents());
    EXPECT_FALSE(host.Events().Plays()[0].descriptor);
}

struct HistoryProbe {
    Host* host = nullptr;
    int calls = 0;
    int32_t result = 0;
    size_t historyDuringCall = 99;
};

SPErr VLH_API HistoryProc(void* data) {
    auto* probe = static_cast<HistoryProbe*>(data);
    ++probe->calls;
    probe->historyDuringCall =
        probe->host->ActiveDocument() ? probe->host->ActiveDocument()->history.size() : 0;
    return probe->result;
}

struct HistoryCase {
    const char* what;
    int32_t procResult;
    OSErr expected;
    bool added;
};

TEST_F(ControlSuiteTest, SuspendHistoryCallsTheProcedureOnceAndAddsOneStateOnSuccess) {
    const HistoryCase cases[] = {
        {"success", 0, 0, true},
        {"16-bit failure", -25920, -25920, false},
        {"positive code", 1, 1, false},
        {"wide code", 0x5061726D, -1, false},
        {"wide code with zero low half", 0x10000, -1, false},
    };
    std::vector<std::string> hookCalls;
    host.SetHistoryHooks(
        {[&](Host&) { hookCalls.push_back("before"); },
         [&](Host&, int32_t result) { hookCalls.push_back("after " + std::to_string(result)); }});
    for (const HistoryCase& hc : cases) {
        host.OpenDocument();
        hookCalls.clear();
        PIActionReference ref = TargetReference(r, FourCC("Dcmn"), 0);
        ASZString name = nullptr;
        ASSERT_EQ(0, z->MakeFromCString("Soft Focus", 10, &name));
        HistoryProbe probe{&host, 0, hc.procResult};
        EXPECT_EQ(hc.expected, c->SuspendHistory(ref, HistoryProc, &probe, name)) << hc.what;
        EXPECT_EQ(1, probe.calls) << hc.what;
        EXPECT_EQ(0u, probe.historyDuringCall) << hc.what;
        EXPECT_EQ(hc.added ? std::vector<std::string>{"Soft Focus"} : std::vector<std::string>{},
                  host.ActiveDocument()->history)
            << hc.what;
        EXPECT_EQ((std::vector<std::string>{"before", "after " + std::to_string(hc.procResult)}), hookCalls);
        EXPECT_EQ(hc.procResult, host.Events().Histories().back().procResult);
        EXPECT_EQ(0, z->Release(name));
        EXPECT_EQ(0, r->Free(ref));
    }
}

TEST_F(ControlSuiteTest, SuspendHistoryWithoutADocumentRecordsOnTheApplication) {
    PIActionReference ref = TargetReference(r, FourCC("Dcmn"), 0);
    ASZString name = nullptr;
    ASSERT_EQ(0, z->MakeFromCString("Edge", 4, &name));
    HistoryProbe probe{&host, 0, 0};
    EXPECT_EQ(0, c->SuspendHistory(ref, HistoryProc, &probe, name));
    EXPECT_EQ((std::vector<std::string>{"Edge"}), host.App().history);
    EXPECT_EQ((std::vector<std::string>{"history \"Edge\" on application (result 0)"}),
              host.Events().Lines());
    EXPECT_EQ(0, z->Release(name));
    EXPECT_EQ(0, r->Free(ref));
}

TEST_F(ControlSuiteTest, SuspendHistoryRefusesBadArgumentsWithoutCallingTheProcedure) {
    PIActionReference ref = TargetReference(r, FourCC("Dcmn"), 0);
    ASZString name = nullptr;
    ASSERT_EQ(0, z->MakeFromCString("Edge", 4, &name));
    HistoryProbe probe{&host, 0, 0};
    EXPECT_EQ(paramErr, c->SuspendHistory(ref, nullptr, &probe, name));
    EXPECT_EQ(paramErr, c->SuspendHistory(ref, HistoryProc, &probe, reinterpret_cast<ASZString>(ref)));
    EXPECT_EQ(paramErr,
              c->SuspendHistory(reinterpret_cast<PIActionReference>(name), HistoryProc, &probe, name));
    EXPECT_EQ(0, probe.calls);
    EXPECT_TRUE(host.Events().Histories().empty());
    EXPECT_EQ(0, z->Release(name));
    EXPECT_EQ(0, r->Free(ref));
    ExpectViolations(2);
}

TEST_F(ControlSuiteTest, StringAndTypeIDsThroughTheSuite) {
    DescriptorTypeID id = 0;
    ASSERT_EQ(0, c->StringIDToTypeID("gaussianBlur", &id));
    EXPECT_EQ(FourCC("GsnB"), id);
    ASSERT_EQ(0, c->StringIDToTypeID("askMissing", &id));
    char text[16];
    ASSERT_EQ(0, c->TypeIDToStringID(id, text, sizeof text));
    EXPECT_STREQ("askMissing", text);
    EXPECT_EQ(paramErr, c->TypeIDToStringID(id, text, 10)) << "\"askMissing\" and its NUL need 11 bytes";
    EXPECT_EQ(paramErr, c->TypeIDToStringID(FourCC("Zzzz"), text, sizeof text));
    EXPECT_EQ(paramErr, c->StringIDToTypeID("", &id));
}

} // namespace
} // namespace vhost::test
