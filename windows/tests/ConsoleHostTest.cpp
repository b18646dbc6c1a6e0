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

} // namespace
} // namespace vhost::wintest
