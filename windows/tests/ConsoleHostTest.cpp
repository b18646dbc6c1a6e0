// The host's console program, `vellicor.exe`, as a user runs it: it lists the
// module's plug-ins from its PE resources and reports a run with its events,
// history state, what the plug-in handed back and the accounting; its exit
// status says whether all went well.
#include "windows/tests/WindowsHostFixture.h"
#include "windows/tests/WineSupport.h"

#include <gtest/gtest.h>

#include <string_view>

namespace vhost::wintest {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Vellicor(const std::string& arguments) {
    return "\"" + SystemPath(VLH_VELLICOR_PATH) + "\" " + arguments;
}

TEST(ConsoleHost, ListsThePluginsOfTheModuleBesideIt) {
    const ProgramResult r = RunProgram(Vellicor("list"));
    ASSERT_EQ(0u, r.exitCode) << r.output;
    EXPECT_TRUE(Has(r.output, "Honer.8li: 4 plug-ins")) << r.output;
    for (const Choice& c : ShippedChoices()) {
        EXPECT_TRUE(Has(r.output, "\n" + c.menuName + "\n")) << c.menuName;
    }
}

TEST(ConsoleHost, ReportsARunAndItsCleanAccounting) {
    DeleteKeyTree(HKEY_CURRENT_USER, kMakerKey);
    const Choice& output = ShippedChoices()[2];
    const ProgramResult r = RunProgram(Vellicor("run --plugin \"Vellicor Output Honer\" --set \"" +
                                                output.set + "\" --effect \"" + output.effect + "\""));
    EXPECT_EQ(0u, r.exitCode) << r.output;
    EXPECT_TRUE(Has(r.output, "result     0 (ok)")) << r.output;
    EXPECT_TRUE(Has(r.output, "event      play unsharpMask")) << r.output;
    EXPECT_TRUE(Has(r.output, "history    \"" + output.effect + "\"")) << r.output;
    EXPECT_TRUE(Has(r.output, "returned   {'VlSt': \"" + output.set + "\"")) << r.output;
    EXPECT_TRUE(Has(r.output, "accounting clean")) << r.output;
}

// The module named relative to the current folder is loaded by its full path,
// which is what the module is told as its own.
TEST(ConsoleHost, LoadsAModuleNamedByARelativePathByItsFullPath) {
    const std::string module = HonerPath();
    char folder[MAX_PATH + 1] = {};
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, folder), 0u);
    // Up to the drive's root ("Z:\\"), then down to the module.
    std::string relative;
    for (std::string_view rest = folder + 3; !rest.empty();) {
        const size_t separator = rest.find('\\');
        relative += "..\\";
        rest = separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
    }
    relative += module.substr(3);
    const ProgramResult r =
        RunProgram(Vellicor("run --module \"" + relative + "\" --plugin \"Vellicor Output Honer\""));
    EXPECT_TRUE(Has(r.output, "module     " + module + "\n")) << relative << "\n" << r.output;
}

TEST(ConsoleHost, APlannedFaultFailsTheRunWithItsCodeAndLeavesNothingAlive) {
    const Choice& output = ShippedChoices()[2];
    const ProgramResult r =
        RunProgram(Vellicor("run --plugin \"Vellicor Output Honer\" --set \"" + output.set +
                            "\" --effect \"" + output.effect + "\" --fail Descriptor.PutString:1:-108"));
    EXPECT_EQ(1u, r.exitCode) << r.output;
    EXPECT_TRUE(Has(r.output, "fault      Descriptor.PutString #1")) << r.output;
    EXPECT_TRUE(Has(r.output, "result     -108")) << r.output;
    EXPECT_FALSE(Has(r.output, "history")) << r.output;
    EXPECT_TRUE(Has(r.output, "accounting clean")) << r.output;
}

TEST(ConsoleHost, RefusesBadUsageAndAnUnknownPlugin) {
    EXPECT_EQ(2u, RunProgram(Vellicor("run --set \"only a Set\"")).exitCode);
    EXPECT_EQ(2u, RunProgram(Vellicor("run --fail nonsense")).exitCode);
    EXPECT_EQ(2u, RunProgram(Vellicor("paint")).exitCode);
    const ProgramResult r = RunProgram(Vellicor("run --plugin \"Vellicor Painter\""));
    EXPECT_EQ(1u, r.exitCode);
    EXPECT_TRUE(Has(r.output, "Vellicor Capture Honer Expert...")) << r.output;
}

} // namespace
} // namespace vhost::wintest
