#include "about/StoredParameters.h"
#include "ScratchHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <sys/wait.h>
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

// Each plug-in keeps its own pair, even when one name begins with the other.
TEST_F(StoredParameters, PluginsKeepSeparatePairs) {
    const char* plugins[] = {"Vellicor Capture Honer", "Vellicor Capture Honer Expert"};
    for (int i = 0; i < 2; ++i) {
        vlh::RunContext run;
        Prepare(run, plugins[i]);
        vlh::CopyToNameField(run.setName, i == 0 ? "S0" : "S1");
        vlh::CopyToNameField(run.effectName, i == 0 ? "E0" : "E1");
        SaveStoredParameters(run);
    }
    for (int i = 0; i < 2; ++i) {
        vlh::RunContext run;
        Prepare(run, plugins[i]);
        LoadStoredParameters(run);
        EXPECT_STREQ(run.setName, i == 0 ? "S0" : "S1");
        EXPECT_STREQ(run.effectName, i == 0 ? "E0" : "E1");
    }
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

// Whether both values of the plug-in's pair are stored.
bool BothValuesExist(const char* plugin) {
    const std::string path = std::string("Software\\CorvaneLabs\\") + plugin + "\\Parameters";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD size = 0;
    const bool both = RegQueryValueExA(key, "Set", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
                      RegQueryValueExA(key, "Action", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return both;
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

bool IsOneOf(const char* name, const std::string (&saved)[2]) {
    return name == saved[0] || name == saved[1] || std::strcmp(name, kUnchanged) == 0;
}

// The first runs of two processes at once, on a hive that has no keys yet:
// both make the key chain and save their pair over and over, reading back
// after every save while the other writes. Every save finds its keys, and
// whatever is read is one of the names saved, whole (the two values of a pair
// are separate values, so a pair itself may mix).
TEST_F(StoredParameters, TwoProcessesSavingFromTheFirstRunNeverTearANameOrFailToMakeTheKeys) {
    const char* plugin = "Vellicor Output Honer";
    const std::string sets[2] = {std::string(200, 's'), "Short Set"};
    const std::string effects[2] = {"Effect A", std::string(180, 'e')};
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            close(start[1]);
            char go = 0;
            // Both children start when the parent closes the pipe.
            if (read(start[0], &go, 1) != 0) {
                _exit(3);
            }
            vlh::RunContext run;
            Prepare(run, plugin);
            vlh::CopyToNameField(run.setName, sets[c]);
            vlh::CopyToNameField(run.effectName, effects[c]);
            for (int i = 0; i < 200; ++i) {
                vlh::SaveStoredParameters(run);
                // Right after a save both values exist; the other process may
                // only have replaced them, whole, with its own. A read that
                // meets a value changing size in between leaves the field as
                // it was, which is sound too.
                if (!BothValuesExist(plugin)) {
                    _exit(1);
                }
                vlh::RunContext check;
                Prepare(check, plugin);
                vlh::CopyToNameField(check.setName, kUnchanged);
                vlh::CopyToNameField(check.effectName, kUnchanged);
                LoadStoredParameters(check);
                if (!IsOneOf(check.setName, sets) || !IsOneOf(check.effectName, effects)) {
                    _exit(2);
                }
            }
            _exit(0);
        }
    }
    close(start[0]);
    close(start[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "a child found a value missing or a name torn (status " << status << ")";
    }
    vlh::RunContext run;
    Prepare(run, plugin);
    LoadStoredParameters(run);
    EXPECT_TRUE(run.setName == sets[0] || run.setName == sets[1]) << run.setName;
    EXPECT_TRUE(run.effectName == effects[0] || run.effectName == effects[1]) << run.effectName;
    // No temporary file is left behind.
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(home.hive() / "Software" / "CorvaneLabs" /
                                                                 plugin / "Parameters")) {
        files.insert(entry.path().filename().string());
    }
    EXPECT_EQ((std::set<std::string>{"Action.value", "Set.value"}), files);
}

} // namespace
