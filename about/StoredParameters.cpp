#include "about/StoredParameters.h"

#include <array>
#include <cstring>

namespace vlh {

namespace {

constexpr const char* kMakerKey = "CorvaneLabs";
constexpr const char* kParametersKey = "Parameters";
constexpr const char* kSetValue = "Set";
constexpr const char* kEffectValue = "Action"; // the stored name says Action, not Effect

// The four keys from "Software" down to "Parameters", opened in order and
// closed in the reverse order on every way out.
class ParametersKey {
public:
    explicit ParametersKey(const char* pluginName) { status_ = Open(pluginName); }
    ~ParametersKey() { Close(); }
    ParametersKey(const ParametersKey&) = delete;
    ParametersKey& operator=(const ParametersKey&) = delete;

    bool opened() const { return status_ == ERROR_SUCCESS; }
    LONG status() const { return status_; }
    HKEY get() const { return keys_[3]; }

    // Closes the open keys, innermost first; the status of the last close.
    LONG Close() {
        LONG last = status_;
        for (size_t i = keys_.size(); i-- > 0;) {
            if (keys_[i] != nullptr) {
                last = RegCloseKey(keys_[i]);
                keys_[i] = nullptr;
            }
        }
        return last;
    }

private:
    LONG Open(const char* pluginName) {
        // "Software" exists in every user's hive: it is opened, never made.
        if (LONG s = RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_CREATE_SUB_KEY, &keys_[0]);
            s != ERROR_SUCCESS) {
            keys_[0] = nullptr;
            return s;
        }
        const char* names[] = {kMakerKey, pluginName, kParametersKey};
        const REGSAM access[] = {KEY_CREATE_SUB_KEY, KEY_CREATE_SUB_KEY, KEY_QUERY_VALUE | KEY_SET_VALUE};
        for (size_t i = 0; i < 3; ++i) {
            if (LONG s = RegCreateKeyExA(keys_[i], names[i], 0, nullptr, REG_OPTION_NON_VOLATILE, access[i],
                                         nullptr, &keys_[i + 1], nullptr);
                s != ERROR_SUCCESS) {
                keys_[i + 1] = nullptr;
                return s;
            }
        }
        return ERROR_SUCCESS;
    }

    std::array<HKEY, 4> keys_ = {};
    LONG status_ = ERROR_SUCCESS;
};

// Reads a stored text into field when it is text and fits with room to spare;
// a stored text that lacks its zero still ends up terminated.
void LoadName(HKEY key, const char* valueName, char (&field)[kNameFieldSize]) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ ||
        size >= kNameFieldSize) {
        return;
    }
    char buffer[kNameFieldSize] = {};
    DWORD read = size;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &read) !=
            ERROR_SUCCESS ||
        read >= kNameFieldSize) {
        return;
    }
    std::memcpy(field, buffer, read);
    field[read] = '\0';
}

LONG SaveName(HKEY key, const char* valueName, const char (&field)[kNameFieldSize]) {
    const size_t length = strnlen(field, kNameFieldSize - 1);
    return RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(field), DWORD(length + 1));
}

} // namespace

LONG LoadStoredParameters(RunContext& run) {
    ParametersKey key(run.pluginName);
    if (!key.opened()) {
        return key.Close();
    }
    LoadName(key.get(), kSetValue, run.setName);
    LoadName(key.get(), kEffectValue, run.effectName);
    return key.Close();
}

LONG SaveStoredParameters(const RunContext& run) {
    ParametersKey key(run.pluginName);
    if (!key.opened()) {
        return key.Close();
    }
    SaveName(key.get(), kSetValue, run.setName);
    SaveName(key.get(), kEffectValue, run.effectName);
    return key.Close();
}

} // namespace vlh
