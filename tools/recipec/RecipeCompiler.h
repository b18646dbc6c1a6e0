// Compiling one recipe source into the stored stream of its Set: every event
// checked against the vocabulary (Vocabulary.h), recorded as the host records
// it (string ID as event name, four-character keys, typed values with units,
// enumerations and references), serialised in the action-set layout, then
// compressed and scrambled. The same source always gives the same bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/actionwriter/ActionModel.h"
#include "tools/recipec/Diagnostics.h"

namespace vtools {

// Where an Effect came from, and its events as recorded (everything but the
// name), so that two Effects with the same recipe can be told apart.
struct CompiledEffect {
    std::string name;
    int line = 0;
    Bytes recipe;
};

struct CompiledSet {
    std::string file;
    std::string name;
    int line = 0;
    std::vector<CompiledEffect> effects;
    SetModel model;
    Bytes stored; // compressed and scrambled
};

// Fewest Effects a Set may hold.
constexpr size_t kMinEffectsPerSet = 3;

// Compiles source text; file names it in findings. Throws RecipeError with
// every finding (file, line, what) when the source is not a good recipe.
CompiledSet CompileRecipe(std::string_view text, const std::string& file);

// Reads and compiles a file; shownAs names it in findings (a path relative to
// the recipe folder keeps messages and generated sources independent of where
// the tree lies). Throws RecipeError, also when the file cannot be read.
CompiledSet CompileRecipeFile(const std::filesystem::path& path, const std::string& shownAs);

// What is wrong with a Set, Effect or layer name, or empty when it is good:
// 1 to 255 bytes of printable ASCII, not starting or ending with a blank.
std::string NameFault(std::string_view name);

} // namespace vtools
