// The real module in the real host, registered from its resources: four
// plug-ins under their menu names, and PluginMain the module's only export.
#include "ModuleFiles.h"

#include "host/core/Host.h"
#include "host/loader/ResourceRegistration.h"
#include "tests/support/EndToEnd.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

namespace vlhtest {
namespace {

using vhost::PluginRecord;

const char* const kMenuNames[] = {"Vellicor Capture Honer...", "Vellicor Creative Honer...",
                                  "Vellicor Output Honer...", "Vellicor Capture Honer Expert..."};

class RegistrationInHost : public vhost::e2e::EndToEndTest {
protected:
    std::vector<PluginRecord*> Register(const std::string& path) {
        std::string error;
        std::vector<PluginRecord*> records = vhost::RegisterModuleFromResources(host, path, error);
        lastError = error;
        return records;
    }

    std::string lastError;
};

TEST_F(RegistrationInHost, RegistersTheFourPluginsUnderTheirMenuNames) {
    std::vector<PluginRecord*> records = Register(vhost::e2e::HonerPath());
    ASSERT_EQ(records.size(), std::size(kMenuNames)) << lastError;
    for (size_t i = 0; i < records.size(); ++i) {
        PluginRecord& r = *records[i];
        SCOPED_TRACE(kMenuNames[i]);
        EXPECT_EQ(r.name, kMenuNames[i]);
        EXPECT_EQ(host.FindPlugin(kMenuNames[i]), &r);
        EXPECT_NE(r.entry, nullptr);
        ASSERT_TRUE(r.description);
        EXPECT_EQ(r.description->menuName, r.name);
        EXPECT_EQ(r.ReportedName(), r.description->NameWithoutEllipsis());
        EXPECT_EQ(r.description->terminologyID, 16000 + i);
    }
}

// The module's only dynamic symbol is its entry point: the resource array,
// though marked used, is not exported.
TEST(Registration, ModuleExportsOnlyPluginMain) {
    std::string symbols = RunCommand("nm -D --defined-only '" + ModulePath() + "'");
    std::vector<std::string> names;
    std::istringstream lines(symbols);
    for (std::string line; std::getline(lines, line);) {
        names.push_back(line.substr(line.rfind(' ') + 1));
    }
    EXPECT_EQ(names, std::vector<std::string>{"PluginMain"}) << symbols;
}

} // namespace
} // namespace vlhtest
