// Loading a module and sending it requests, with a small module of our own
// whose misbehaviour each test chooses.
#include <gtest/gtest.h>

#include "host/core/Host.h"
#include "hostapi/FourCharCode.h"

namespace vhost::test {
namespace {

using vlh::FourCC;

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module = host.LoadModule(VHOST_TEST_MODULE, error);
        ASSERT_NE(nullptr, module) << error;
        plugin = &host.RegisterPlugin(*module, "Vellicor Creative Honer...");
    }

    DoItResult Run(const char* mode) {
        DoItRequest request;
        request.descriptor.emplace();
        request.descriptor->Put(FourCC("mode"), Value::String(mode));
        return host.DoIt(*plugin, request);
    }

    Host host;
    const Module* module = nullptr;
    PluginRecord* plugin = nullptr;
};

TEST_F(LoaderTest, AMissingFileOrEntryPointIsAClearError) {
    std::string error;
    EXPECT_EQ(nullptr, host.LoadModule("/nonexistent/Honer.8li", error));
    EXPECT_NE(std::string::npos, error.find("/nonexistent/Honer.8li"));
    Module m = Module::Open(VHOST_TEST_MODULE, error, "NoSuchEntry");
    EXPECT_FALSE(m.Loaded());
    EXPECT_NE(std::string::npos, error.find("NoSuchEntry"));
}

TEST_F(LoaderTest, DoItWithoutADescriptorPassesPlayInfoThrough) {
    DoItRequest request;
    request.playInfo = plugInDialogDisplay;
    DoItResult r = host.DoIt(*plugin, request);
    EXPECT_EQ(101, r.result);
    EXPECT_FALSE(r.descriptor);
    EXPECT_TRUE(host.Clean()) << host.Report();
}

TEST_F(LoaderTest, TheModuleSeesItsOwnNameAndFileAndItsDescriptorComesBack) {
    DoItResult r = Run("echo");
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(plugInDialogNone, r.recordInfo);
    ASSERT_TRUE(r.descriptor);
    EXPECT_EQ(Value::String("Vellicor Creative Honer"), *r.descriptor->Find(FourCC("Nm  ")));
    EXPECT_EQ(Value::String(VHOST_TEST_MODULE), *r.descriptor->Find(FourCC("path")));
    EXPECT_TRUE(host.Clean()) << host.Report();
}

TEST_F(LoaderTest, AnInputLeftInPlaceComesBackAndIsFreedByTheHost) {
    DoItResult r = Run("keep");
    ASSERT_TRUE(r.descriptor);
    EXPECT_EQ(Value::String("keep"), *r.descriptor->Find(FourCC("mode")));
    EXPECT_TRUE(host.Clean()) << host.Report();
}

TEST_F(LoaderTest, AnInputReplacedWithoutBeingFreedIsFreedByTheHostOnce) {
    DoItResult r = Run("replace");
    ASSERT_TRUE(r.descriptor);
    EXPECT_TRUE(r.descriptor->Has(FourCC("new ")));
    EXPECT_FALSE(r.descriptor->Has(FourCC("mode")));
    EXPECT_TRUE(host.Clean()) << host.Report();
}

struct Misbehaviour {
    const char* mode;
    const char* finding; // a line the report must hold
};

TEST(LoaderMisbehaviourTest, EachMisbehaviourShowsInTheAccounting) {
    const Misbehaviour cases[] = {
        {"leak", "live: desc#2 (Descriptor.Make)"},
        {"garbage", "violation: PIActionParameters.descriptor: holds 0x"},
        {"freed", "violation: PIActionParameters.descriptor: holds desc#1, which is not live"},
        {"hold", "suite held: \"df135115-c769-11d0-8079-00c04fd7ec47\" v2 (held 1)"},
    };
    for (const Misbehaviour& m : cases) {
        Host host;
        std::string error;
        const Module* module = host.LoadModule(VHOST_TEST_MODULE, error);
        ASSERT_NE(nullptr, module) << error;
        DoItRequest request;
        request.descriptor.emplace();
        request.descriptor->Put(FourCC("mode"), Value::String(m.mode));
        host.DoIt(host.RegisterPlugin(*module, "Vellicor Output Honer..."), request);
        EXPECT_FALSE(host.Clean()) << m.mode;
        EXPECT_NE(std::string::npos, host.Report().find(m.finding)) << m.mode << "\n" << host.Report();
    }
}

TEST_F(LoaderTest, GlobalsAreKeptBetweenRequestsAndAccessMessagesCarryWhen) {
    EXPECT_EQ(1, host.About(*plugin));
    EXPECT_EQ(2, host.About(*plugin));
    EXPECT_EQ(reinterpret_cast<void*>(2), plugin->globals);
    EXPECT_EQ(1, host.SendRequest(*plugin, kSPAccessCaller, kSPAccessReloadSelector));
    EXPECT_EQ(2, host.SendRequest(*plugin, kSPAccessCaller, kSPAccessUnloadSelector));
    EXPECT_EQ(0, host.SendRequest(*plugin, kSPInterfaceCaller, kSPInterfaceStartupSelector));
    EXPECT_TRUE(host.Clean()) << host.Report();
}

TEST_F(LoaderTest, PluginsAreFoundByNameAndReference) {
    EXPECT_EQ(plugin, host.FindPlugin("Vellicor Creative Honer..."));
    EXPECT_EQ(plugin, host.FindPlugin(plugin->Ref()));
    EXPECT_EQ(nullptr, host.FindPlugin("Vellicor Creative Honer"));
    int foreign = 0;
    EXPECT_EQ(nullptr, host.FindPlugin(reinterpret_cast<SPPluginRef>(&foreign)));
}

} // namespace
} // namespace vhost::test
