// The module's resources as Windows reads them: which there are (types, IDs,
// language), their bytes against what the generator wrote and what the Linux
// module carries, the version record through the system's version functions,
// and the file's exports and imports.
#include "windows/tests/WineSupport.h"

#include "host/resources/ResourceDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
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

struct Listed {
    std::string type; // "PIPL", "AETE", or "#16" for a numbered type
    WORD id = 0;
    WORD language = 0;
    auto operator<=>(const Listed&) const = default;
};

std::string TypeName(LPCSTR type) {
    return IS_INTRESOURCE(type) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(type)) : std::string(type);
}

struct Listing {
    std::vector<Listed> resources;
    std::vector<std::string> namedResources; // resources named by a text: none expected
};

BOOL CALLBACK ListLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR context) {
    reinterpret_cast<Listing*>(context)->resources.push_back(
        {TypeName(type), static_cast<WORD>(reinterpret_cast<uintptr_t>(name)), language});
    return TRUE;
}

BOOL CALLBACK ListName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR context) {
    if (!IS_INTRESOURCE(name)) {
        reinterpret_cast<Listing*>(context)->namedResources.push_back(TypeName(type) + "/" + name);
        return TRUE;
    }
    EnumResourceLanguagesA(module, type, name, ListLanguage, context);
    return TRUE;
}

BOOL CALLBACK ListType(HMODULE module, LPSTR type, LONG_PTR context) {
    EnumResourceNamesA(module, type, ListName, context);
    return TRUE;
}

std::vector<uint8_t> ResourceBytes(HMODULE module, LPCSTR type, WORD id) {
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), kUsEnglish);
    if (found == nullptr) {
        return {};
    }
    const DWORD size = SizeofResource(module, found);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    return bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

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

TEST(ModuleResources, AreTheFourPropertyListsAndTerminologiesAndTheVersionRecordInUsEnglish) {
    ResourceImage image(HonerPath());
    ASSERT_NE(nullptr, image.get()) << HonerPath();
    Listing listing;
    ASSERT_TRUE(EnumResourceTypesA(image.get(), ListType, reinterpret_cast<LONG_PTR>(&listing)));
    std::sort(listing.resources.begin(), listing.resources.end());
    const std::vector<Listed> expected = {
        {"#16", 1, kUsEnglish},      {"AETE", 16000, kUsEnglish}, {"AETE", 16001, kUsEnglish},
        {"AETE", 16002, kUsEnglish}, {"AETE", 16003, kUsEnglish}, {"PIPL", 16000, kUsEnglish},
        {"PIPL", 16001, kUsEnglish}, {"PIPL", 16002, kUsEnglish}, {"PIPL", 16003, kUsEnglish},
    };
    EXPECT_EQ(expected, listing.resources);
    EXPECT_TRUE(listing.namedResources.empty());
}

TEST(ModuleResources, HoldTheBytesTheGeneratorWrote) {
    ResourceImage image(HonerPath());
    ASSERT_NE(nullptr, image.get());
    const auto files = GeneratorFiles(VLH_WINDOWS_RESOURCE_DIR);
    ASSERT_EQ(9u, files.size());
    for (const auto& file : files) {
        const FileResource r = ResourceOfFile(file.filename().string());
        SCOPED_TRACE(file.filename().string());
        const std::vector<uint8_t> bytes =
            ResourceBytes(image.get(), r.systemType != nullptr ? r.systemType : r.type.c_str(), r.id);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(ReadFileBytes(file.string()), bytes);
    }
}

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

// ---- the version record as the system reads it -----------------------------

TEST(ModuleResources, TheSystemReadsTheVersionRecord) {
    const std::string path = HonerPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(0x00010002u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00060000u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010002u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00060000u, fixed->dwProductVersionLS);
    EXPECT_EQ(DWORD(VFT_DLL), fixed->dwFileType);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(kUsEnglish, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    const std::pair<const char*, const char*> texts[] = {
        {"FileVersion", "1.2.6"},
        {"ProductVersion", "1.2.6"},
        {"FileDescription", "Vellicor Honer"},
        {"InternalName", "Vellicor Honer"},
        {"ProductName", "Corvane Labs Vellicor Honer"},
        {"CompanyName", "Corvane Labs, LLC."},
        {"OriginalFilename", "Honer.8li"},
    };
    for (const auto& [key, value] : texts) {
        char* text = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904b0\\") + key;
        ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << key;
        EXPECT_STREQ(value, text) << key;
    }
}

// ---- exports and imports -------------------------------------------------------

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

std::vector<std::string> ImportedLibraries(const UnresolvedImage& image) {
    const IMAGE_DATA_DIRECTORY& dir = image.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    std::vector<std::string> result;
    for (const auto* d = image.At<IMAGE_IMPORT_DESCRIPTOR>(dir.VirtualAddress); dir.Size != 0 && d->Name != 0;
         ++d) {
        result.push_back(image.At<char>(d->Name));
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

// Everything else is linked in: a library that is not the system's own would
// have to be shipped beside the module, and the host would not find it.
TEST(ModuleFile, NeedsOnlyTheSystemsOwnLibraries) {
    UnresolvedImage image(HonerPath());
    ASSERT_NE(nullptr, image.Base());
    char system[MAX_PATH + 1] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::vector<std::string> libraries = ImportedLibraries(image);
    EXPECT_FALSE(libraries.empty());
    for (const std::string& library : libraries) {
        EXPECT_TRUE(std::filesystem::exists(std::string(system) + "\\" + library))
            << library << " is not a library of the system";
    }
}

} // namespace
} // namespace vhost::wintest
