#include "about/StoredParameters.h"
#include "ScratchHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
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

// Sets (or with nullopt unsets) one environment variable for the length of a
// test and puts it back as it was.
class EnvironmentChange {
public:
    EnvironmentChange(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            saved_ = old;
        }
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~EnvironmentChange() { saved_ ? setenv(name_, saved_->c_str(), 1) : unsetenv(name_); }
    EnvironmentChange(const EnvironmentChange&) = delete;
    EnvironmentChange& operator=(const EnvironmentChange&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

// Nowhere to keep the hive: no configuration folder, no home and a temporary
// folder that does not exist; or a configuration folder that is a file. The
// stored names cannot be read or written, the names stay as they were and
// nothing is thrown, so the run goes on.
TEST_F(StoredParameters, WithNowhereToKeepTheHiveNamesStayAndNothingIsThrown) {
    const std::string notAFolder = (home.path() / "a-file").string();
    std::ofstream(notAFolder) << "not a folder";
    const struct {
        std::optional<std::string> config, home, tmpdir;
    } cases[] = {
        {std::nullopt, std::nullopt, (home.path() / "missing").string()},
        {std::nullopt, std::nullopt, notAFolder},
        {notAFolder, std::nullopt, std::nullopt},
        {std::nullopt, notAFolder, std::nullopt},
    };
    for (const auto& c : cases) {
        EnvironmentChange config("XDG_CONFIG_HOME", c.config), homeFolder("HOME", c.home), tmp("TMPDIR", c.tmpdir);
        vlh::RunContext run;
        Prepare(run, "Vellicor Output Honer");
        vlh::CopyToNameField(run.setName, "kept set");
        vlh::CopyToNameField(run.effectName, "kept effect");
        LONG loaded = ERROR_SUCCESS, saved = ERROR_SUCCESS;
        EXPECT_NO_THROW(loaded = LoadStoredParameters(run));
        EXPECT_NO_THROW(saved = SaveStoredParameters(run));
        EXPECT_NE(loaded, ERROR_SUCCESS);
        EXPECT_NE(saved, ERROR_SUCCESS);
        EXPECT_STREQ(run.setName, "kept set");
        EXPECT_STREQ(run.effectName, "kept effect");
    }
}

constexpr const char* kUnchanged = "unchanged";

} // namespace
