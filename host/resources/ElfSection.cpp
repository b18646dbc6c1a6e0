#include "host/resources/ElfSection.h"

#include "host/resources/ResourceError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <unistd.h>

namespace vhost {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

class ElfHandle {
public:
    explicit ElfHandle(Elf* elf) : elf_(elf) {}
    ElfHandle(const ElfHandle&) = delete;
    ElfHandle& operator=(const ElfHandle&) = delete;
    ~ElfHandle() {
        if (elf_ != nullptr) {
            elf_end(elf_);
        }
    }
    Elf* Get() const { return elf_; }

private:
    Elf* elf_;
};

[[noreturn]] void Fail(const std::string& path, const std::string& message) {
    throw ResourceError(path + ": " + message);
}

std::string ElfMessage() {
    const char* text = elf_errmsg(-1);
    return text != nullptr ? text : "unknown libelf error";
}

void InitialiseLibelf() {
    static const bool ready = elf_version(EV_CURRENT) != EV_NONE;
    if (!ready) {
        throw ResourceError("libelf does not support the current ELF version");
    }
}

Elf_Scn* FindSection(Elf* elf, const std::string& path, std::string_view name, GElf_Shdr& header) {
    size_t namesIndex = 0;
    if (elf_getshdrstrndx(elf, &namesIndex) != 0) {
        Fail(path, "cannot read the section names: " + ElfMessage());
    }
    for (Elf_Scn* section = elf_nextscn(elf, nullptr); section != nullptr;
         section = elf_nextscn(elf, section)) {
        if (gelf_getshdr(section, &header) == nullptr) {
            Fail(path, "cannot read a section header: " + ElfMessage());
        }
        const char* sectionName = elf_strptr(elf, namesIndex, header.sh_name);
        if (sectionName != nullptr && name == sectionName) {
            return section;
        }
    }
    return nullptr;
}

} // namespace

std::vector<uint8_t> ReadElfSection(const std::string& path, std::string_view name) {
    InitialiseLibelf();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        Fail(path, std::string("cannot open: ") + std::strerror(errno));
    }
    ElfHandle elf(elf_begin(file.Get(), ELF_C_READ, nullptr));
    if (elf.Get() == nullptr || elf_kind(elf.Get()) != ELF_K_ELF) {
        Fail(path, "not an ELF file");
    }
    GElf_Shdr header{};
    Elf_Scn* section = FindSection(elf.Get(), path, name, header);
    if (section == nullptr) {
        Fail(path, "has no section " + std::string(name) + ": the module carries no plug-in resources");
    }
    if (header.sh_type == SHT_NOBITS) {
        Fail(path, "section " + std::string(name) + " holds no bytes in the file");
    }
    if (header.sh_size > kMaxSectionSize) {
        Fail(path, "section " + std::string(name) + " is " + std::to_string(header.sh_size) +
                       " bytes, more than a module's resources can be");
    }
    Elf_Data* data = elf_getdata(section, nullptr);
    if (data == nullptr) {
        Fail(path, "cannot read section " + std::string(name) + ": " + ElfMessage());
    }
    if (data->d_buf == nullptr || data->d_size == 0) {
        return {};
    }
    const auto* bytes = static_cast<const uint8_t*>(data->d_buf);
    return std::vector<uint8_t>(bytes, bytes + data->d_size);
}

} // namespace vhost
