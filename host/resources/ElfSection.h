// Reads one section of an ELF file by name, without loading or running it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vhost {

// Sections larger than this are refused rather than read.
constexpr size_t kMaxSectionSize = 16 * 1024 * 1024;

// The bytes of the first section called name in the file at path. Throws
// ResourceError when the file cannot be opened, is not ELF, has no such
// section, or the section holds no file bytes or is larger than kMaxSectionSize.
std::vector<uint8_t> ReadElfSection(const std::string& path, std::string_view name);

} // namespace vhost
