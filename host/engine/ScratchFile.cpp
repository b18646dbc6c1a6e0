#include "host/engine/ScratchFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

namespace vhost::engine {

namespace {

std::string Folder() {
    const char* tmpdir = std::getenv("TMPDIR");
    return tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
}

int OpenUnlinked(const std::string& folder) {
    const int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR)) {
        return fd;
    }
    // A file system without O_TMPFILE: a named file, unlinked at once.
    std::string name = folder + "/vellicor-scratch-XXXXXX";
    const int named = mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0) {
        unlink(name.c_str());
    }
    return named;
}

} // namespace

ScratchFile::ScratchFile() : fd_(OpenUnlinked(Folder())) {
    if (fd_ < 0) {
        throw std::system_error(errno, std::generic_category(), "no scratch file in " + Folder());
    }
}

ScratchFile::~ScratchFile() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

ScratchFile::ScratchFile(ScratchFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {
}

ScratchFile& ScratchFile::operator=(ScratchFile&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
}

bool ScratchFile::Write(uint64_t offset, const void* data, size_t size) {
    const auto* from = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = pwrite(fd_, from, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? ENOSPC : errno;
            return false;
        }
        from += n;
        offset += static_cast<uint64_t>(n);
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool ScratchFile::Read(uint64_t offset, void* data, size_t size) const {
    auto* to = static_cast<unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = pread(fd_, to, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? EIO : errno; // past what was written
            return false;
        }
        to += n;
        offset += static_cast<uint64_t>(n);
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace vhost::engine
