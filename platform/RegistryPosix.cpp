// The registry stand-in for systems without one; see Registry.h.
#include "platform/Registry.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

struct RegistryKeyOpaque {
    fs::path folder;
    REGSAM access = 0;
};

namespace {

constexpr uintptr_t kCurrentUserTag = 0x80000001;
constexpr char kMagic[4] = {'V', 'R', 'E', 'G'};
constexpr size_t kHeaderSize = 12;
// Values are a few hundred bytes; anything this large is not ours.
constexpr DWORD kMaxValueSize = 1 << 20;

// Open keys, so a stale or foreign handle is refused instead of followed.
std::map<HKEY, std::unique_ptr<RegistryKeyOpaque>>& OpenKeys() {
    static std::map<HKEY, std::unique_ptr<RegistryKeyOpaque>> keys;
    return keys;
}

// The hive's folder; nothing when there is nowhere to keep it (no
// configuration folder, no home and no usable temporary folder).
std::optional<fs::path> HiveRoot() {
    fs::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = fs::path(home) / ".config";
    } else {
        std::error_code error;
        base = fs::temp_directory_path(error);
        if (error) {
            return std::nullopt;
        }
    }
    return base / "vellicor-registry" / "HKEY_CURRENT_USER";
}

// A key or value name component: no folder tricks, no separators.
bool IsSafeComponent(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.front() != '.' &&
           name.find('/') == std::string_view::npos;
}

std::optional<fs::path> AppendKeyPath(const fs::path& folder, const char* subKey) {
    if (subKey == nullptr) {
        return std::nullopt;
    }
    fs::path result = folder;
    std::string_view rest(subKey);
    while (!rest.empty()) {
        const size_t cut = rest.find('\\');
        const std::string_view part = rest.substr(0, cut);
        if (!IsSafeComponent(part)) {
            return std::nullopt;
        }
        result /= std::string(part);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return result;
}

const RegistryKeyOpaque* FindKey(HKEY key, RegistryKeyOpaque& currentUser) {
    if (reinterpret_cast<uintptr_t>(key) == kCurrentUserTag) {
        auto root = HiveRoot();
        if (!root) {
            return nullptr;
        }
        // Like a Windows hive, ours always has its "Software" key.
        currentUser.folder = std::move(*root);
        currentUser.access = KEY_ALL_ACCESS;
        std::error_code ignored;
        fs::create_directories(currentUser.folder / "Software", ignored);
        return &currentUser;
    }
    auto& keys = OpenKeys();
    auto found = keys.find(key);
    return found == keys.end() ? nullptr : found->second.get();
}

LONG HandOut(fs::path folder, REGSAM access, PHKEY result) {
    auto key = std::make_unique<RegistryKeyOpaque>();
    key->folder = std::move(folder);
    key->access = access;
    HKEY handle = key.get();
    OpenKeys().emplace(handle, std::move(key));
    *result = handle;
    return ERROR_SUCCESS;
}

std::optional<fs::path> ValueFile(const fs::path& folder, const char* valueName) {
    std::string name = valueName == nullptr || *valueName == '\0' ? "(default)" : valueName;
    if (!IsSafeComponent(name) || name.find('\\') != std::string::npos) {
        return std::nullopt;
    }
    return folder / (name + ".value");
}

void PutLE32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

uint32_t GetLE32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

bool ReadAll(int fd, unsigned char* data, size_t size) {
    while (size > 0) {
        const ssize_t got = ::read(fd, data, size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        data += got;
        size -= size_t(got);
    }
    return true;
}

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<unsigned char> data;
};

// LONG status of reading a value file: the file must be exactly a header and
// the data it announces.
LONG ReadValueFile(const fs::path& file, StoredValue& value) {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    struct stat info {};
    unsigned char header[kHeaderSize];
    if (::fstat(fd.get(), &info) != 0 || !ReadAll(fd.get(), header, kHeaderSize) ||
        std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        return ERROR_BADDB;
    }
    const uint32_t size = GetLE32(header + 8);
    if (size > kMaxValueSize || uint64_t(info.st_size) != kHeaderSize + uint64_t(size)) {
        return ERROR_BADDB;
    }
    value.type = GetLE32(header + 4);
    value.data.resize(size);
    if (size > 0 && !ReadAll(fd.get(), value.data.data(), size)) {
        return ERROR_BADDB;
    }
    return ERROR_SUCCESS;
}

LONG WriteValueFile(const fs::path& file, DWORD type, const BYTE* data, DWORD size) {
    static std::atomic<unsigned> counter{0};
    const fs::path temporary = file.parent_path() / ("." + file.filename().string() + ".tmp-" +
                                                    std::to_string(::getpid()) + "-" + std::to_string(++counter));
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        return ERROR_CANTWRITE;
    }
    unsigned char header[kHeaderSize];
    std::memcpy(header, kMagic, sizeof kMagic);
    PutLE32(header + 4, type);
    PutLE32(header + 8, size);
    const bool written = WriteAll(fd.get(), header, kHeaderSize) && (size == 0 || WriteAll(fd.get(), data, size)) &&
                         ::fsync(fd.get()) == 0;
    const bool closed = ::close(fd.release()) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return ERROR_CANTWRITE;
    }
    return ERROR_SUCCESS;
}

} // namespace

HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(kCurrentUserTag);

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM access, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    RegistryKeyOpaque currentUser;
    const RegistryKeyOpaque* parent = FindKey(key, currentUser);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const auto folder = AppendKeyPath(parent->folder, subKey);
    if (!folder) {
        return ERROR_INVALID_PARAMETER;
    }
    std::error_code error;
    if (!fs::is_directory(*folder, error)) {
        return ERROR_FILE_NOT_FOUND;
    }
    return HandOut(*folder, access, result);
}

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD /*reserved*/, LPSTR /*keyClass*/, DWORD /*options*/,
                     REGSAM access, LPSECURITY_ATTRIBUTES /*security*/, PHKEY result, LPDWORD disposition) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    RegistryKeyOpaque currentUser;
    const RegistryKeyOpaque* parent = FindKey(key, currentUser);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if ((parent->access & KEY_CREATE_SUB_KEY) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    const auto folder = AppendKeyPath(parent->folder, subKey);
    if (!folder) {
        return ERROR_INVALID_PARAMETER;
    }
    std::error_code error;
    const bool existed = fs::is_directory(*folder, error);
    if (!existed && !fs::create_directories(*folder, error) && !fs::is_directory(*folder, error)) {
        return ERROR_CANTWRITE;
    }
    if (disposition != nullptr) {
        *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    }
    return HandOut(*folder, access, result);
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data, LPDWORD size) {
    RegistryKeyOpaque currentUser;
    const RegistryKeyOpaque* opened = FindKey(key, currentUser);
    if (opened == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if ((opened->access & KEY_QUERY_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    if (data != nullptr && size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const auto file = ValueFile(opened->folder, valueName);
    if (!file) {
        return ERROR_FILE_NOT_FOUND;
    }
    StoredValue value;
    if (LONG status = ReadValueFile(*file, value); status != ERROR_SUCCESS) {
        return status;
    }
    if (type != nullptr) {
        *type = value.type;
    }
    const DWORD stored = DWORD(value.data.size());
    if (data != nullptr) {
        if (*size < stored) {
            *size = stored;
            return ERROR_MORE_DATA;
        }
        if (stored > 0) {
            std::memcpy(data, value.data.data(), stored);
        }
    }
    if (size != nullptr) {
        *size = stored;
    }
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data, DWORD size) {
    RegistryKeyOpaque currentUser;
    const RegistryKeyOpaque* opened = FindKey(key, currentUser);
    if (opened == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if ((opened->access & KEY_SET_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    if ((data == nullptr && size > 0) || size > kMaxValueSize) {
        return ERROR_INVALID_PARAMETER;
    }
    const auto file = ValueFile(opened->folder, valueName);
    if (!file) {
        return ERROR_INVALID_PARAMETER;
    }
    return WriteValueFile(*file, type, data, size);
}

LONG RegCloseKey(HKEY key) {
    if (reinterpret_cast<uintptr_t>(key) == kCurrentUserTag) {
        return ERROR_SUCCESS;
    }
    return OpenKeys().erase(key) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
