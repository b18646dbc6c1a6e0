// Writes the section image as a C++ source for the module: one constant array
// placed in its own section and kept through every stage of the build. It is
// marked used (the compiler keeps an unreferenced constant) and retain (the
// linker's --gc-sections keeps the section); hidden visibility, the version
// script and strip touch only symbols, not an allocated section.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace vtools {

void WriteSectionSource(std::ostream& out, std::string_view sectionName, const std::vector<uint8_t>& image);

} // namespace vtools
