// Readers of the host values the entry point's fitness tests and the
// requirement checks need.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vlh {

// The active document's depth in bits per channel; 0 when it cannot be read
// (no document).
int32_t GetDocumentDepth();

// The host's major version; 0 when it cannot be read.
int32_t GetHostMajorVersion();

// The host's name into buffer (capacity bytes, NUL-terminated); the buffer is
// left as it was when the name cannot be read or does not fit.
int32_t GetHostName(char* buffer, uint32_t capacity);

// This plug-in's own name as the host lists it, with a leading "Debug"
// removed; an empty text when the host cannot give it or it does not fit.
void ReadPluginName(char* buffer, uint32_t capacity);

} // namespace vlh
