// Host strings, the user-interface hooks, the file-list and plug-ins suites,
// and suites acquired by name and version.
#include <cstring>

#include "SuiteFixture.h"

namespace vhost::test {
namespace {

using StringSuiteTest = SuiteFixture;

TEST_F(StringSuiteTest, AsCStringWithTheSizeCheckRefusesATextThatDoesNotFit) {
    ASZString s = nullptr;
    ASSERT_EQ(0, z->MakeFromCString("Honer", 5, &s));
    EXPECT_EQ(6u, z->LengthAsCString(s));
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(kASBufferTooSmallErr, z->AsCString(s, buffer, 5, 1));
    EXPECT_EQ('x', buffer[0]);
    EXPECT_EQ(0, z->AsCString(s, buffer, 6, 1));
    EXPECT_STREQ("Honer", buffer);
    EXPECT_EQ(0, z->AsCString(s, buffer, 3, 0));
    EXPECT_STREQ("Ho", buffer);
    EXPECT_EQ(0, z->Release(s));
}

TEST_F(StringSuiteTest, MakeFromCStringStopsAtTheCountOrANul) {
    struct Case {
        const char* src;
        size_t count;
        const char* expected;
    };
    const Case cases[] = {{"abcdef", 3, "abc"}, {"ab", 10, "ab"}, {"", 0, ""}};
    for (const Case& tc : cases) {
        ASZString s = nullptr;
        ASSERT_EQ(0, z->MakeFromCString(tc.src, tc.count, &s));
        char buffer[16];
        ASSERT_EQ(0, z->AsCString(s, buffer, sizeof buffer, 1));
        EXPECT_STREQ(tc.expected, buffer);
        EXPECT_EQ(0, z->Release(s));
    }
}

TEST_F(StringSuiteTest, AStringLivesUntilItsLastReferenceIsReleased) {
    ASZString s = nullptr;
    ASSERT_EQ(0, z->MakeRomanizationOfInteger(-42, &s));
    ASSERT_EQ(0, z->AddRef(s));
    ASSERT_EQ(0, z->Release(s));
    EXPECT_EQ(1u, host.Books().LiveCount());
    ASSERT_EQ(0, z->Release(s));
    EXPECT_EQ(0u, host.Books().LiveCount());
    EXPECT_EQ(kSPBadParameterError, z->Release(s));
    ExpectViolations(1);
}

TEST_F(StringSuiteTest, EditingRoutines) {
    struct Case {
        const char* text;
        ASErr (*edit)(ASZString);
        const char* expected;
    };
    const Case cases[] = {
        {"Vellicor Output Honer...", z->TrimEllipsis, "Vellicor Output Honer"},
        {"  padded  ", z->TrimSpaces, "padded"},
        {"&Save && Close", z->RemoveAccelerators, "Save & Close"},
    };
    for (const Case& tc : cases) {
        ASZString s = nullptr;
        ASSERT_EQ(0, z->MakeFromCString(tc.text, std::strlen(tc.text), &s));
        ASSERT_EQ(0, tc.edit(s));
        char buffer[32];
        ASSERT_EQ(0, z->AsCString(s, buffer, sizeof buffer, 1));
        EXPECT_STREQ(tc.expected, buffer);
        EXPECT_EQ(0, z->Release(s));
    }
}

TEST_F(StringSuiteTest, UnicodeAndPascalForms) {
    ASUnicode text[] = {'A', 0xE9, 0x263A, 0};
    ASZString s = nullptr;
    ASSERT_EQ(0, z->MakeFromUnicode(text, 3, &s));
    char latin[8];
    ASSERT_EQ(0, z->AsCString(s, latin, sizeof latin, 1));
    EXPECT_STREQ("A\xE9?", latin);
    char pascal[8];
    ASSERT_EQ(0, z->AsPascalString(s, pascal, sizeof pascal, 1));
    EXPECT_EQ(3, pascal[0]);
    ASUnicode back[4];
    ASSERT_EQ(0, z->AsUnicodeCString(s, back, 4, 1));
    EXPECT_EQ(0xE9, back[1]);
    EXPECT_EQ(0, back[3]);
    EXPECT_EQ(0, z->Release(s));
}

using ServicesTest = SuiteFixture;

TEST_F(ServicesTest, GetPluginNameDropsTheEllipsisOrGivesTheOverride) {
    std::string error;
    // A record needs no loaded code to be named.
    Module none;
    PluginRecord& plugin = host.RegisterPlugin(none, "Vellicor Output Honer...");
    ASZString name = nullptr;
    ASSERT_EQ(0, ui->GetPluginName(plugin.Ref(), &name));
    char text[64];
    ASSERT_EQ(0, z->AsCString(name, text, sizeof text, 1));
    EXPECT_STREQ("Vellicor Output Honer", text);
    EXPECT_EQ(0, z->Release(name));

    plugin.reportedName = "DebugVellicor Capture Honer";
    ASSERT_EQ(0, ui->GetPluginName(plugin.Ref(), &name));
    ASSERT_EQ(0, z->AsCString(name, text, sizeof text, 1));
    EXPECT_STREQ("DebugVellicor Capture Honer", text);
    EXPECT_EQ(0, z->Release(name));

    int foreign = 0;
    EXPECT_NE(0, ui->GetPluginName(reinterpret_cast<SPPluginRef>(&foreign), &name));
    ExpectViolations(1);
}

TEST_F(ServicesTest, TheFileSpecificationHoldsTheModulePathPaddedWithZeros) {
    Module none;
    PluginRecord& plugin = host.RegisterPlugin(none, "Vellicor Capture Honer...");
    plugin.modulePath = "/opt/vellicor/Honer.8li";
    SPPlatformFileSpecification location;
    std::memset(&location, 'x', sizeof location);
    ASSERT_EQ(0, pl->GetPluginFileSpecification(plugin.Ref(), &location));
    EXPECT_STREQ("/opt/vellicor/Honer.8li", location.path);
    EXPECT_EQ(0, location.path[sizeof location.path - 1]);
    EXPECT_EQ("/opt/vellicor/Honer.8li", host.App().lastFileSpecPath);

    plugin.modulePath = std::string(300, 'p');
    std::memset(&location, 'x', sizeof location);
    EXPECT_EQ(kSPBadParameterError, pl->GetPluginFileSpecification(plugin.Ref(), &location));
    EXPECT_EQ('x', location.path[0]);
}

TEST_F(ServicesTest, BrowsedUrlsAreRecordedAndTheMainWindowIsTheHostsOwn) {
    EXPECT_EQ(0, fl->BrowseUrl("https://example.invalid/vellicor"));
    EXPECT_EQ("https://example.invalid/vellicor", host.App().lastUrl);
    EXPECT_EQ(kSPBadParameterError, fl->BrowseUrl(nullptr));
    EXPECT_EQ(1u, host.App().browsedUrls.size());
    EXPECT_EQ(0, ui->MainAppWindow());
    host.App().mainWindow = 0x1234;
    EXPECT_EQ(0x1234, ui->MainAppWindow());
}

TEST_F(ServicesTest, UnofferedRoutinesAnswerUnimplementedSafely) {
    EXPECT_EQ(kSPUnimplementedError, fl->GetFileHandleList(nullptr, nullptr, false));
    EXPECT_EQ(kSPUnimplementedError, pl->AllocatePluginList(nullptr, nullptr));
    EXPECT_EQ(kSPUnimplementedError, host.BasicSuite()->Undefined());
    EXPECT_EQ(-1, c->AddNotify(nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(-1, d->AsHandle(nullptr, nullptr));
    EXPECT_EQ(-1, l->PutAlias(nullptr, nullptr));
}

TEST(SuiteLookupTest, SuitesAreFoundByExactNameAndVersionOnly) {
    Host host;
    SPBasicSuite* basic = host.BasicSuite();
    const void* suite = reinterpret_cast<const void*>(1);
    EXPECT_EQ(kSPSuiteNotFoundError, basic->AcquireSuite(kPSActionDescriptorSuite, 3, &suite));
    EXPECT_EQ(nullptr, suite);
    EXPECT_EQ(kSPSuiteNotFoundError, basic->AcquireSuite("No Such Suite", 1, &suite));
    EXPECT_EQ(kSPSuiteNotFoundError, basic->ReleaseSuite(kASZStringSuite, 2));
    EXPECT_EQ(kSPBadParameterError, basic->ReleaseSuite(kASZStringSuite, 1)) << "not held";
    ASSERT_EQ(0, basic->AcquireSuite(kSPBasicSuite, 4, &suite));
    EXPECT_EQ(basic, suite);
    EXPECT_EQ(1u, host.Books().UnreleasedSuites().size());
    EXPECT_EQ(0, basic->ReleaseSuite(kSPBasicSuite, 4));
    EXPECT_EQ(1u, host.Books().Violations().size());
}

TEST(NoHostTest, RoutinesCalledWithoutAHostAnswerAnErrorAndDoNothing) {
    const PSActionDescriptorProcs* d = nullptr;
    SPBasicSuite* basic = nullptr;
    {
        Host host;
        basic = host.BasicSuite();
        ASSERT_EQ(0, basic->AcquireSuite(kPSActionDescriptorSuite, 2, reinterpret_cast<const void**>(&d)));
    }
    PIActionDescriptor desc = nullptr;
    EXPECT_EQ(paramErr, d->Make(&desc));
    EXPECT_EQ(nullptr, desc);
    EXPECT_EQ(0, basic->IsEqual("a", "a"));
}

TEST(HostTest, OnlyOneHostAtATime) {
    Host host;
    EXPECT_EQ(&host, Host::Current());
    EXPECT_THROW(Host second, std::logic_error);
    EXPECT_EQ(&host, Host::Current());
}

} // namespace
} // namespace vhost::test
