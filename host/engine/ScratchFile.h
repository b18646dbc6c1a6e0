// Scratch space on disk that no other process can see: an unlinked file in the
// temporary folder ($TMPDIR, else /tmp), gone when it is closed or however the
// process ends. Move-only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vhost::engine {

class ScratchFile {
public:
    // Throws std::system_error when the folder takes no new file.
    ScratchFile();
    ~ScratchFile();
    ScratchFile(ScratchFile&& other) noexcept;
    ScratchFile& operator=(ScratchFile&& other) noexcept;
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // `size` bytes at `offset`, whole or not at all: false (errno set) when
    // the file cannot take or give them all. Safe from several threads at once.
    bool Write(uint64_t offset, const void* data, size_t size);
    bool Read(uint64_t offset, void* data, size_t size) const;

private:
    int fd_ = -1;
};

} // namespace vhost::engine
