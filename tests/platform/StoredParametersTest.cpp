#include "about/StoredParameters.h"
#include "ScratchHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class StoredParameters : public ::testing::Test {
protected:
    static void Prepare(vlh::RunContext& run, const char* plugin) {
        vlh::CopyToNameField(run.pluginName, plugin);
    }

    // Writes a raw value under the plug-in's Parameters key.
    static void WriteRaw(const char* plugin, const char* value, DWORD type, const void* data, DWORD size) {
        const std::string path = std::string("Software\\CorvaneLabs\\") + plugin + "\\Parameters";
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, value, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    ScratchHome home;
};

TEST_F(StoredParameters, FirstRunCreatesTheKeysAndFindsNothing) {
    vlh::RunContext run;
    Prepare(run, "Vellicor Output Honer");
    vlh::CopyToNameField(run.setName, "kept");
    LoadStoredParameters(run);
    EXPECT_STREQ(run.setName, "kept");
    EXPECT_STREQ(run.effectName, "");
    EXPECT_TRUE(std::filesystem::is_directory(home.hive() / "Software" / "CorvaneLabs" /
                                              "Vellicor Output Honer" / "Parameters"));
}

// A key that cannot be opened or made (a file stands where its folder would
// be) leaves the names as they were, when loading and when saving.
TEST_F(StoredParameters, AKeyThatCannotBeOpenedOrMadeLeavesTheNamesAsTheyWere) {
    const char* const blocked[] = {"Software", "Software/CorvaneLabs", "Software/CorvaneLabs/Vellicor Output Honer",
                                   "Software/CorvaneLabs/Vellicor Output Honer/Parameters"};
    for (const char* key : blocked) {
        SCOPED_TRACE(key);
        std::filesystem::remove_all(home.hive());
        std::filesystem::create_directories((home.hive() / key).parent_path());
        std::ofstream(home.hive() / key) << "not a key";
        vlh::RunContext run;
        Prepare(run, "Vellicor Output Honer");
        vlh::CopyToNameField(run.setName, "kept Set");
        vlh::CopyToNameField(run.effectName, "kept Effect");
        LoadStoredParameters(run);
        SaveStoredParameters(run);
        EXPECT_STREQ(run.setName, "kept Set");
        EXPECT_STREQ(run.effectName, "kept Effect");
        EXPECT_TRUE(std::filesystem::is_regular_file(home.hive() / key));
    }
}

TEST_F(StoredParameters, SavedNamesComeBackOnTheNextRun) {
    vlh::RunContext first;
    Prepare(first, "Vellicor Capture Honer");
    vlh::CopyToNameField(first.setName, "Digital Camera Honers");
    vlh::CopyToNameField(first.effectName, "Medium Edge");
    SaveStoredParameters(first);

    vlh::RunContext next;
    Prepare(next, "Vellicor Capture Honer");
    LoadStoredParameters(next);
    EXPECT_STREQ(next.setName, "Digital Camera Honers");
    EXPECT_STREQ(next.effectName, "Medium Edge");
}

// 254 characters and the zero fit under 256 bytes; 255 characters are stored
// with their zero (256 bytes) but not taken back.
TEST_F(StoredParameters, NamesOf254CharactersComeBackAndOf255DoNot) {
    for (size_t length : {254u, 255u}) {
        vlh::RunContext run;
        Prepare(run, "Vellicor Output Honer");
        const std::string name(length, 'n');
        vlh::CopyToNameField(run.setName, name);
        vlh::CopyToNameField(run.effectName, "E");
        SaveStoredParameters(run);

        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\CorvaneLabs\\Vellicor Output Honer\\Parameters", 0,
                                KEY_QUERY_VALUE, &key),
                  ERROR_SUCCESS);
        DWORD size = 0;
        ASSERT_EQ(RegQueryValueExA(key, "Set", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(size, length + 1);
        RegCloseKey(key);

        vlh::RunContext next;
        Prepare(next, "Vellicor Output Honer");
        LoadStoredParameters(next);
        EXPECT_EQ(std::string(next.setName), length == 254 ? name : std::string()) << length;
        EXPECT_STREQ(next.effectName, "E");
    }
}

TEST_F(StoredParameters, AValueOfAnotherTypeIsIgnoredBesideAValidOne) {
    const uint32_t number = 7;
    WriteRaw("Vellicor Creative Honer", "Set", REG_DWORD, &number, sizeof number);
    WriteRaw("Vellicor Creative Honer", "Action", REG_SZ, "Soften", 7);
    vlh::RunContext run;
    Prepare(run, "Vellicor Creative Honer");
    vlh::CopyToNameField(run.setName, "before");
    LoadStoredParameters(run);
    EXPECT_STREQ(run.setName, "before");
    EXPECT_STREQ(run.effectName, "Soften");
}

TEST_F(StoredParameters, AStoredTextWithoutItsZeroEndsUpTerminated) {
    WriteRaw("Vellicor Creative Honer", "Set", REG_SZ, "Local", 5);
    vlh::RunContext run;
    Prepare(run, "Vellicor Creative Honer");
    std::memset(run.setName, 'x', sizeof run.setName - 1);
    LoadStoredParameters(run);
    EXPECT_STREQ(run.setName, "Local");
}

} // namespace
