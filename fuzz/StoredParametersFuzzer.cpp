// The remembered Set and Effect through LoadStoredParameters, over the
// registry stand-in in a private $XDG_CONFIG_HOME. The input becomes the
// stored "Set" and "Action" values of one plug-in:
//
//   byte 0      the type of "Set"
//   byte 1      the type of "Action"
//   byte 2      bit 0: "Set" is written as a whole value file (header included)
//               bit 1: the same for "Action"
//               bit 2: there is no "Set"; bit 3: there is no "Action"
//               bit 4: the maker's key is a plain file, so no key can be made
//   bytes 3-4   how many of the remaining bytes are "Set"'s (little-endian)
//   then        "Set"'s bytes, then "Action"'s
//
// Whatever is stored, a name field ends up a terminated text: the stored
// text when it is a readable text value of fewer than 256 bytes, otherwise
// what the field held before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

#include "about/StoredParameters.h"
#include "fuzz/FuzzCheck.h"

namespace {

namespace fs = std::filesystem;
using vlh::fuzz::Require;

constexpr const char* kPlugin = "Vellicor Capture Honer";
constexpr const char* kParametersPath = "Software\\CorvaneLabs\\Vellicor Capture Honer\\Parameters";
constexpr const char* kPreviousSet = "previous Set";
constexpr const char* kPreviousEffect = "previous Effect";
// The stand-in's value files: "VREG", type, size (little-endian), data.
constexpr size_t kValueHeaderSize = 12;
constexpr uint32_t kMaxValueSize = 1 << 20;

fs::path gConfigHome;

fs::path Hive() {
    return gConfigHome / "vellicor-registry" / "HKEY_CURRENT_USER";
}

fs::path ParametersFolder() {
    return Hive() / "Software" / "CorvaneLabs" / kPlugin / "Parameters";
}

void RemoveConfigHome() {
    std::error_code ignored;
    fs::remove_all(gConfigHome, ignored);
}

struct StoredValue {
    const char* name;
    bool present = true;
    bool wholeFile = false;
    uint32_t type = 0;
    std::string_view bytes;
};

uint32_t LittleEndian32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
    }
    return value;
}

void Store(const StoredValue& value) {
    if (!value.present) {
        return;
    }
    if (value.wholeFile) {
        std::ofstream out(ParametersFolder() / (std::string(value.name) + ".value"), std::ios::binary);
        out.write(value.bytes.data(), std::streamsize(value.bytes.size()));
        Require(out.good(), "a value file can be written");
        return;
    }
    HKEY key = nullptr;
    Require(RegCreateKeyExA(HKEY_CURRENT_USER, kParametersPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) == ERROR_SUCCESS,
            "the parameters key can be made");
    const LONG status =
        RegSetValueExA(key, value.name, 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                       DWORD(value.bytes.size()));
    RegCloseKey(key);
    Require(status == ERROR_SUCCESS, "a value of any type and size up to the limit can be stored");
}

// What LoadStoredParameters must leave in a field that held previous.
std::string Expected(const StoredValue& value, const char* previous) {
    if (!value.present) {
        return previous;
    }
    uint32_t type = value.type;
    std::string_view data = value.bytes;
    if (value.wholeFile) {
        if (data.size() < kValueHeaderSize || data.substr(0, 4) != "VREG") {
            return previous;
        }
        const uint32_t size = LittleEndian32(data, 8);
        if (size > kMaxValueSize || size != data.size() - kValueHeaderSize) {
            return previous;
        }
        type = LittleEndian32(data, 4);
        data.remove_prefix(kValueHeaderSize);
    }
    if (type != REG_SZ || data.size() >= vlh::kNameFieldSize) {
        return previous;
    }
    return std::string(data.substr(0, data.find('\0')));
}

void CheckField(const char (&field)[vlh::kNameFieldSize], const std::string& expected, const char* promise) {
    Require(strnlen(field, vlh::kNameFieldSize) < vlh::kNameFieldSize,
            "a name field stays a terminated text");
    Require(expected == field, promise);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "vellicor-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr, "a private settings folder can be made");
    gConfigHome = pattern;
    setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    std::atexit(RemoveConfigHome);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data) + 5, size - 5);
    const size_t setLength = std::min<size_t>(rest.size(), size_t(data[3]) | size_t(data[4]) << 8);
    const uint8_t flags = data[2];
    StoredValue set{"Set", (flags & 4) == 0, (flags & 1) != 0, data[0], rest.substr(0, setLength)};
    StoredValue effect{"Action", (flags & 8) == 0, (flags & 2) != 0, data[1], rest.substr(setLength)};
    const bool noKeys = (flags & 16) != 0;

    std::error_code ignored;
    fs::remove_all(Hive() / "Software" / "CorvaneLabs", ignored);
    fs::create_directories(Hive() / "Software", ignored);
    if (noKeys) {
        std::ofstream(Hive() / "Software" / "CorvaneLabs") << "not a key";
    } else {
        fs::create_directories(ParametersFolder(), ignored);
        Store(set);
        Store(effect);
    }

    vlh::RunContext run;
    vlh::CopyToNameField(run.pluginName, kPlugin);
    vlh::CopyToNameField(run.setName, kPreviousSet);
    vlh::CopyToNameField(run.effectName, kPreviousEffect);
    vlh::LoadStoredParameters(run);
    CheckField(run.setName, noKeys ? kPreviousSet : Expected(set, kPreviousSet),
               "the Set field holds the stored text or what it held");
    CheckField(run.effectName, noKeys ? kPreviousEffect : Expected(effect, kPreviousEffect),
               "the Effect field holds the stored text or what it held");
    return 0;
}
