// Drawing a contact sheet: its labels rendered with libvips' text operation,
// then the crops and labels put where the layout says, on white.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <vips/vips8>

#include "host/catalogue/ModuleSets.h"
#include "host/cli/SheetLayout.h"

namespace vhost::cli {

// The rendered labels, one-band masks of their ink.
struct SheetLabels {
    vips::VImage title;
    vips::VImage before;
    std::vector<vips::VImage> headings; // one per Set
    std::vector<vips::VImage> effects;  // one per Effect, in sheet order
};

// The crop after one Effect, or why there is none.
struct SheetTile {
    std::optional<vips::VImage> crop; // float RGB on the 0..1 scale
    std::string failure;
};

// Renders the labels of the Sets and Effects and says what the layout needs
// to know: Effect names wrap at the crop's width, the title and the Set names
// at the width of the sheet's rows.
SheetContent LabelSheet(const std::vector<ListedSet>& sets, SheetSize crop, int columns,
                        const std::string& title, SheetLabels& labels);

// The sheet, 8-bit RGB in memory: `before` (float RGB, the crop's size) at the
// start of every row, each tile in its cell (a failed one grey, with why).
vips::VImage DrawSheet(const SheetLayout& layout, const SheetLabels& labels, const vips::VImage& before,
                       const std::vector<SheetTile>& tiles);

} // namespace vhost::cli
