#include "tools/recipec/Diagnostics.h"

namespace vtools {

std::string Diagnostic::Text() const {
    if (line <= 0) {
        return file + ": " + what;
    }
    return file + ":" + std::to_string(line) + ": " + what;
}

void Diagnostics::Add(std::string file, int line, std::string what) {
    list_.push_back({std::move(file), line, std::move(what)});
}

std::string Diagnostics::Text() const {
    std::string text;
    for (const Diagnostic& d : list_) {
        text += d.Text();
        text += '\n';
    }
    return text;
}

RecipeError::RecipeError(Diagnostics found) : std::runtime_error(found.Text()), found_(std::move(found)) {
}

} // namespace vtools
