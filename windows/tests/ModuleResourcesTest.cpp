// The module's resources as Windows reads them, against what the Linux module
// carries, and the file's only export.
#include "windows/tests/WineSupport.h"

#include "host/resources/ResourceDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace vhost::wintest {
namespace {

constexpr WORD kUsEnglish = 1033;

// The module mapped for reading resources only.
class ResourceImage {
public:
    explicit ResourceImage(const std::string& path)
        : handle_(LoadLibraryExA(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ResourceImage() {
        if (handle_ != nullptr) {
            FreeLibrary(handle_);
        }
    }
    ResourceImage(const ResourceImage&) = delete;
    ResourceImage& operator=(const ResourceImage&) = delete;
    HMODULE get() const { return handle_; }

private:
    HMODULE handle_;
};

std::vector<uint8_t> ResourceBytes(HMODULE module, LPCSTR type, WORD id) {
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), kUsEnglish);
    if (found == nullptr) {
        return {};
    }
    const DWORD size = SizeofResource(module, found);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    return bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

#if !defined(VLH_LINUX_SECTION)
// A generator file's name, <type>_<id>.bin, as the resource it holds.
struct FileResource {
    std::string type; // as the resource script names it
    LPCSTR systemType;
    WORD id;
};

FileResource ResourceOfFile(const std::string& name) {
    const size_t underscore = name.find('_');
    FileResource r{name.substr(0, underscore), nullptr,
                   static_cast<WORD>(std::stoi(name.substr(underscore + 1)))};
    // The version record is the system's version resource.
    r.systemType = r.type == "VERS" ? MAKEINTRESOURCEA(16) : nullptr;
    return r;
}

std::vector<std::filesystem::path> GeneratorFiles(const char* buildDir) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(SystemPath(buildDir))) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}
#endif

// ---- against the Linux module's resources ----------------------------------

constexpr uint32_t kX86Code = 0x77783836; // 'wx86'
constexpr uint32_t kX64Code = 0x38363634; // '8664'

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

void PutU32At(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + size_t(i)] = uint8_t(v >> (8 * i));
    }
}

// Where each property of a property list starts: after the 10-byte header,
// each is a 16-byte head (vendor, key, ID, length) and its data padded to 4.
// Empty when the list does not hold together.
std::vector<size_t> PropertyStarts(const std::vector<uint8_t>& list) {
    std::vector<size_t> starts;
    if (list.size() < 10) {
        return {};
    }
    const uint32_t count = U32At(list, 6);
    size_t at = 10;
    for (uint32_t i = 0; i < count; ++i) {
        if (at + 16 > list.size()) {
            return {};
        }
        starts.push_back(at);
        const size_t length = U32At(list, at + 12);
        at += 16 + ((length + 3) & ~size_t(3));
    }
    return at == list.size() ? starts : std::vector<size_t>();
}

// The Windows property list the Linux one becomes: its 'wx86' code property
// named '8664' (or, with both, followed by a copy named '8664').
std::vector<uint8_t> AsWindowsPropertyList(std::vector<uint8_t> list) {
    const std::vector<size_t> starts = PropertyStarts(list);
    for (size_t i = 0; i < starts.size(); ++i) {
        if (U32At(list, starts[i] + 4) != kX86Code) {
            continue;
        }
        if (std::string(VLH_WINDOWS_ENTRY_POINT) == "8664") {
            PutU32At(list, starts[i] + 4, kX64Code);
        } else {
            const size_t end = i + 1 < starts.size() ? starts[i + 1] : list.size();
            std::vector<uint8_t> copy(list.begin() + std::ptrdiff_t(starts[i]),
                                      list.begin() + std::ptrdiff_t(end));
            PutU32At(copy, 4, kX64Code);
            list.insert(list.begin() + std::ptrdiff_t(end), copy.begin(), copy.end());
            PutU32At(list, 6, U32At(list, 6) + 1);
        }
        return list;
    }
    return {};
}

struct LinuxResource {
    std::string type; // "PIPL", "AETE", "VERS"
    WORD id;
    std::vector<uint8_t> bytes;
};

// What the Linux module carries: its resource section itself when the build
// was given a Linux module (VLH_LINUX_MODULE), else the generator's files for
// it.
std::vector<LinuxResource> LinuxResources() {
    std::vector<LinuxResource> resources;
#if defined(VLH_LINUX_SECTION)
    const std::vector<uint8_t> section = ReadFileBytes(SystemPath(VLH_LINUX_SECTION));
    for (const ResourceEntry& e : ParseResourceDirectory(section)) {
        resources.push_back({e.type, e.id, std::vector<uint8_t>(e.bytes.begin(), e.bytes.end())});
    }
#else
    for (const auto& file : GeneratorFiles(VLH_LINUX_RESOURCE_DIR)) {
        const FileResource r = ResourceOfFile(file.filename().string());
        resources.push_back({r.type, r.id, ReadFileBytes(file.string())});
    }
#endif
    return resources;
}

TEST(ModuleResources, EqualTheLinuxModulesExceptForTheCodeProperty) {
    ResourceImage image(HonerPath());
    ASSERT_NE(nullptr, image.get());
    const std::vector<LinuxResource> resources = LinuxResources();
    ASSERT_EQ(9u, resources.size());
    for (const LinuxResource& r : resources) {
        SCOPED_TRACE(r.type + " " + std::to_string(r.id));
        const std::vector<uint8_t> windows =
            ResourceBytes(image.get(), r.type == "VERS" ? MAKEINTRESOURCEA(16) : r.type.c_str(), r.id);
        if (r.type != "PIPL") {
            EXPECT_EQ(r.bytes, windows);
            continue;
        }
        EXPECT_EQ(8u, PropertyStarts(r.bytes).size());
        EXPECT_EQ(AsWindowsPropertyList(r.bytes), windows);
        // One code property names the entry point; a 64-bit host finds it.
        std::vector<uint32_t> codes;
        for (size_t start : PropertyStarts(windows)) {
            const uint32_t key = U32At(windows, start + 4);
            if (key == kX86Code || key == kX64Code) {
                codes.push_back(key);
                EXPECT_EQ(0, std::memcmp(windows.data() + start + 16, "PluginMain\0\0", 12));
            }
        }
        EXPECT_NE(codes.end(), std::find(codes.begin(), codes.end(), kX64Code));
    }
}

// ---- the export -----------------------------------------------------------------

// The module mapped as an image without running anything in it or loading
// what it imports.
class UnresolvedImage {
public:
    explicit UnresolvedImage(const std::string& path)
        : handle_(LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES)) {}
    ~UnresolvedImage() {
        if (handle_ != nullptr) {
            FreeLibrary(handle_);
        }
    }
    UnresolvedImage(const UnresolvedImage&) = delete;
    UnresolvedImage& operator=(const UnresolvedImage&) = delete;

    const uint8_t* Base() const { return reinterpret_cast<const uint8_t*>(handle_); }
    const IMAGE_NT_HEADERS64* Headers() const {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Base());
        return reinterpret_cast<const IMAGE_NT_HEADERS64*>(Base() + dos->e_lfanew);
    }
    template <typename T>
    const T* At(DWORD rva) const {
        return reinterpret_cast<const T*>(Base() + rva);
    }
    const IMAGE_DATA_DIRECTORY& Directory(int entry) const {
        return Headers()->OptionalHeader.DataDirectory[entry];
    }

private:
    HMODULE handle_;
};

std::vector<std::string> ExportedNames(const UnresolvedImage& image) {
    const IMAGE_DATA_DIRECTORY& dir = image.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (dir.Size == 0) {
        return {};
    }
    const auto* exports = image.At<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
    const auto* names = image.At<DWORD>(exports->AddressOfNames);
    std::vector<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        result.push_back(image.At<char>(names[i]));
    }
    return result;
}

TEST(ModuleFile, IsA64BitLibraryWhoseOnlyExportIsPluginMain) {
    UnresolvedImage image(HonerPath());
    ASSERT_NE(nullptr, image.Base());
    EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, image.Headers()->FileHeader.Machine);
    EXPECT_NE(0, image.Headers()->FileHeader.Characteristics & IMAGE_FILE_DLL);
    EXPECT_EQ(std::vector<std::string>{"PluginMain"}, ExportedNames(image));
    // What the host calls is what the export table names.
    EXPECT_NE(nullptr,
              GetProcAddress(reinterpret_cast<HMODULE>(const_cast<uint8_t*>(image.Base())), "PluginMain"));
}

} // namespace
} // namespace vhost::wintest
