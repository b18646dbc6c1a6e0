// The stored parameters against the real registry (wine's): the module's own
// load and save routines, with values written beside them by the system's
// registry tool, as a user or an installer would.
#include "windows/tests/WindowsHostFixture.h"
#include "windows/tests/WineSupport.h"

#include "about/StoredParameters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vhost::wintest {
namespace {

constexpr const char* kPlugin = "Vellicor Creative Honer";
constexpr const char* kUntouched = "as it was";

class StoredParametersInTheRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(HKEY_CURRENT_USER, kMakerKey);
        vlh::CopyToNameField(run.pluginName, kPlugin);
        vlh::CopyToNameField(run.setName, kUntouched);
        vlh::CopyToNameField(run.effectName, kUntouched);
    }
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, kMakerKey); }

    // reg.exe add "HKCU\...\Parameters" /v name /t type /d data /f
    void RegAdd(const std::string& name, const std::string& type, const std::string& data) {
        const ProgramResult r = RunProgram("reg.exe add \"HKCU\\" + ParametersKey(kPlugin) + "\" /v " + name +
                                           " /t " + type + " /d \"" + data + "\" /f");
        ASSERT_EQ(0u, r.exitCode) << r.output;
    }

    vlh::RunContext run;
};

TEST_F(StoredParametersInTheRegistry, AValueOfAnotherTypeIsIgnoredBesideAValidOne) {
    struct Case {
        const char* setType;
        const char* setData;
        const char* actionType;
        const char* actionData;
        const char* expectedSet;
        const char* expectedAction;
    };
    const Case cases[] = {
        {"REG_DWORD", "7", "REG_SZ", "Moderate Local Contrast", kUntouched, "Moderate Local Contrast"},
        {"REG_SZ", "Local Contrast Honers", "REG_BINARY", "414243", "Local Contrast Honers", kUntouched},
        {"REG_EXPAND_SZ", "%TEMP%", "REG_MULTI_SZ", "a\\0b", kUntouched, kUntouched},
        {"REG_SZ", "Local Contrast Honers", "REG_SZ", "Strong Local Contrast", "Local Contrast Honers",
         "Strong Local Contrast"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setType) + " beside " + c.actionType);
        SetUp();
        RegAdd("Set", c.setType, c.setData);
        RegAdd("Action", c.actionType, c.actionData);
        vlh::LoadStoredParameters(run);
        EXPECT_STREQ(c.expectedSet, run.setName);
        EXPECT_STREQ(c.expectedAction, run.effectName);
    }
}

TEST_F(StoredParametersInTheRegistry, SavesWithTheZeroAndLoadsBackNamesOfUpTo254Characters) {
    const std::string longest(254, 'e');
    const std::string tooLong(255, 's');
    vlh::CopyToNameField(run.setName, tooLong);
    vlh::CopyToNameField(run.effectName, longest);
    vlh::SaveStoredParameters(run);

    const auto set = ReadRegistryValue(HKEY_CURRENT_USER, ParametersKey(kPlugin), "Set");
    const auto action = ReadRegistryValue(HKEY_CURRENT_USER, ParametersKey(kPlugin), "Action");
    ASSERT_TRUE(set && action);
    EXPECT_EQ(DWORD(REG_SZ), set->type);
    EXPECT_EQ(256u, set->bytes.size());
    EXPECT_EQ(255u, action->bytes.size());
    EXPECT_EQ(0, action->bytes.back());

    vlh::RunContext next;
    vlh::CopyToNameField(next.pluginName, kPlugin);
    vlh::CopyToNameField(next.setName, kUntouched);
    vlh::LoadStoredParameters(next);
    EXPECT_STREQ(kUntouched, next.setName); // 256 bytes with its zero: too long to load
    EXPECT_EQ(longest, next.effectName);
}

} // namespace
} // namespace vhost::wintest
