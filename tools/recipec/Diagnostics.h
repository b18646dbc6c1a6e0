// What is wrong with a recipe source, and where: every finding names the file
// and the line, so a bad recipe is fixed where it was written.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vtools {

struct Diagnostic {
    std::string file;
    int line = 0; // 1-based; 0 for a finding about the whole file
    std::string what;

    // "file:line: what" (or "file: what" for line 0).
    std::string Text() const;
};

// The findings of one compilation, in the order they were made.
class Diagnostics {
public:
    void Add(std::string file, int line, std::string what);
    bool Empty() const { return list_.empty(); }
    const std::vector<Diagnostic>& List() const { return list_; }
    // One finding per line.
    std::string Text() const;

private:
    std::vector<Diagnostic> list_;
};

// Thrown when a compilation ends with findings; carries them all.
class RecipeError : public std::runtime_error {
public:
    explicit RecipeError(Diagnostics found);
    const Diagnostics& Found() const { return found_; }

private:
    Diagnostics found_;
};

} // namespace vtools
