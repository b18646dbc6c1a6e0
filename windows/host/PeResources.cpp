#include "windows/host/PeResources.h"

#include "host/resources/ResourceError.h"
#include "windows/host/SystemText.h"

#include <windows.h>

#include <cstring>

namespace vhost {

namespace {

// The file mapped as an image of resources only, unmapped on every way out.
class DataFile {
public:
    explicit DataFile(const std::string& path)
        : handle_(LoadLibraryExA(WindowsPath(path).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        if (handle_ == nullptr) {
            throw ResourceError(path + ": cannot read its resources: " + SystemErrorText(GetLastError()));
        }
    }
    ~DataFile() { FreeLibrary(handle_); }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    HMODULE Handle() const { return handle_; }

private:
    HMODULE handle_;
};

struct Enumeration {
    std::vector<uint16_t> values;
    bool tooMany = false;
};

void Collect(Enumeration& e, uint16_t value) {
    if (e.values.size() >= kMaxPeResources) {
        e.tooMany = true;
        return;
    }
    e.values.push_back(value);
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
    // Resources named by a text, not an ID, are not plug-in resources.
    if (IS_INTRESOURCE(name)) {
        Collect(*reinterpret_cast<Enumeration*>(context),
                static_cast<uint16_t>(reinterpret_cast<uintptr_t>(name)));
    }
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR context) {
    Collect(*reinterpret_cast<Enumeration*>(context), language);
    return TRUE;
}

// The IDs of a type; none when the file has no resource of that type.
std::vector<uint16_t> IdsOf(HMODULE file, const std::string& type, const std::string& path) {
    Enumeration ids;
    if (!EnumResourceNamesA(file, type.c_str(), CollectName, reinterpret_cast<LONG_PTR>(&ids))) {
        const DWORD error = GetLastError();
        if (error == ERROR_RESOURCE_TYPE_NOT_FOUND || error == ERROR_RESOURCE_DATA_NOT_FOUND) {
            return {};
        }
        throw ResourceError(path + ": cannot list its " + type + " resources: " + SystemErrorText(error));
    }
    if (ids.tooMany) {
        throw ResourceError(path + ": more than " + std::to_string(kMaxPeResources) + " " + type +
                            " resources");
    }
    return ids.values;
}

// US English when the resource has it, else the first language listed.
uint16_t LanguageOf(HMODULE file, const std::string& type, uint16_t id) {
    Enumeration languages;
    EnumResourceLanguagesA(file, type.c_str(), MAKEINTRESOURCEA(id), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    for (uint16_t language : languages.values) {
        if (language == kUsEnglish) {
            return language;
        }
    }
    return languages.values.empty() ? kUsEnglish : languages.values.front();
}

std::vector<uint8_t> BytesOf(HMODULE file, const std::string& type, uint16_t id, uint16_t language,
                             const std::string& what) {
    HRSRC found = FindResourceExA(file, type.c_str(), MAKEINTRESOURCEA(id), language);
    if (found == nullptr) {
        throw ResourceError(what + " cannot be found: " + SystemErrorText(GetLastError()));
    }
    const DWORD size = SizeofResource(file, found);
    if (size > kMaxPeResourceSize) {
        throw ResourceError(what + " is larger than " + std::to_string(kMaxPeResourceSize) + " bytes");
    }
    HGLOBAL loaded = LoadResource(file, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr && size != 0) {
        throw ResourceError(what + " cannot be loaded: " + SystemErrorText(GetLastError()));
    }
    std::vector<uint8_t> copy(size);
    if (size != 0) {
        std::memcpy(copy.data(), bytes, size);
    }
    return copy;
}

} // namespace

PeResources PeResources::Read(const std::string& path, const std::vector<std::string>& types) {
    DataFile file(path);
    PeResources resources;
    for (const std::string& type : types) {
        for (uint16_t id : IdsOf(file.Handle(), type, path)) {
            const uint16_t language = LanguageOf(file.Handle(), type, id);
            const std::string what = path + ": " + type + " resource " + std::to_string(id);
            resources.storage_.push_back(
                std::make_unique<std::vector<uint8_t>>(BytesOf(file.Handle(), type, id, language, what)));
            ResourceEntry entry;
            entry.type = type;
            entry.id = id;
            entry.language = language;
            entry.bytes = *resources.storage_.back();
            resources.entries_.push_back(entry);
        }
    }
    return resources;
}

} // namespace vhost
