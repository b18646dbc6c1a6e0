// The whole catalogue of recipes: a manifest names the module's plug-ins in
// catalogue order and, under each, its recipe sources in the order their Sets
// load. Compiling it compiles every source and checks what only shows once
// the Sets of a plug-in are merged by name: no Effect name twice in a merged
// Set and no recipe twice in it.
//
// Manifest format (paths relative to the manifest's folder):
//
//   # comment
//   Plug-in: Vellicor Capture Honer
//       capture/camera-under-8mp.recipe
//       capture/camera-8-to-16mp.recipe
//   Plug-in: Vellicor Creative Honer
//       creative/local-contrast.recipe
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/recipec/RecipeCompiler.h"

namespace vtools {

struct CataloguePlugin {
    std::string name;
    int line = 0;
    std::vector<CompiledSet> sets; // in load order
};

struct Catalogue {
    std::vector<CataloguePlugin> plugins;      // in catalogue order
    std::vector<std::filesystem::path> inputs; // the manifest and every source read
};

// Compiles every source the manifest names. Throws RecipeError with every
// finding of every file.
Catalogue CompileCatalogue(const std::filesystem::path& manifest);

} // namespace vtools
