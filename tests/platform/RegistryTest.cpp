#include "platform/Registry.h"
#include "ScratchHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Registry : public ::testing::Test {
protected:
    // Creates Software\<path> with every right and returns it open.
    HKEY CreateUnderSoftware(const char* path) {
        HKEY software = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_CREATE_SUB_KEY, &software), ERROR_SUCCESS);
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(software, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(software);
        return key;
    }

    ScratchHome home;
};

TEST_F(Registry, ValuesKeepTheirTypeAndBytes) {
    HKEY key = CreateUnderSoftware("Values");
    const BYTE text[] = {'a', 'b', 'c', 0};
    const uint32_t number = 0x01020304;
    ASSERT_EQ(RegSetValueExA(key, "text", 0, REG_SZ, text, sizeof text), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExA(key, "text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 4u);

    BYTE small[2] = {};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "text", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);

    BYTE buffer[8] = {};
    size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(key, "number", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    ASSERT_EQ(size, 4u);
    uint32_t read = 0;
    std::memcpy(&read, buffer, 4);
    EXPECT_EQ(read, number);

    size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(key, "empty", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 0u);

    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(Registry, NamesThatWouldLeaveTheHiveAreRefused) {
    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software), ERROR_SUCCESS);
    for (const char* name : {"..", "a\\..\\..", "a/b", ".hidden", "a\\\\b"}) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(software, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_INVALID_PARAMETER)
            << name;
    }
    const BYTE data[] = "x";
    EXPECT_EQ(RegSetValueExA(software, "../escape", 0, REG_SZ, data, 2), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(std::filesystem::exists(home.hive() / "escape.value"));
    RegCloseKey(software);
}

// A value file that is not exactly a header and its data is not a value.
TEST_F(Registry, DamagedValueFilesAreNotRead) {
    HKEY key = CreateUnderSoftware("Damaged");
    const auto file = home.hive() / "Software" / "Damaged" / "v.value";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"short header", "VREG\x01"},
        {"wrong magic", std::string("XREG\x01\0\0\0\x02\0\0\0ab", 14)},
        {"size beyond file", std::string("VREG\x01\0\0\0\x09\0\0\0ab", 14)},
        {"size short of file", std::string("VREG\x01\0\0\0\x01\0\0\0ab", 14)},
        {"huge size", std::string("VREG\x01\0\0\0\xff\xff\xff\x7f", 12)},
    };
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.bytes;
        DWORD type = 0;
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, &type, nullptr, &size), ERROR_BADDB) << c.name;
    }
    RegCloseKey(key);
}

} // namespace
