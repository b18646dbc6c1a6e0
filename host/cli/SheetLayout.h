// Where everything goes on a contact sheet: a title, then for each Set its
// name and rows of 100 % crops, each row starting with the crop before any
// Effect and followed by the crops after up to `columns` Effects, each under
// its Effect's name.
#pragma once

#include <string>
#include <vector>

namespace vhost::cli {

struct SheetBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct SheetSize {
    int width = 0;
    int height = 0;
};

// What the layout is given: the crop's size, the sizes of the rendered
// labels, and how many Effects a row holds at most.
struct SheetContent {
    SheetSize crop;
    int columns = 4;
    SheetSize title;
    struct Effect {
        std::string name;
        SheetSize label;
    };
    struct Set {
        std::string name;
        SheetSize heading;
        std::vector<Effect> effects;
    };
    std::vector<Set> sets;
    SheetSize beforeLabel;
};

struct SheetCell {
    std::string set;
    std::string effect;
    SheetBox label;
    SheetBox after;  // the crop after the Effect
    SheetBox before; // the crop before, at the start of the cell's row
};

struct SheetLayout {
    SheetSize size;
    SheetBox title;
    std::vector<SheetBox> headings;     // one per Set, in order
    std::vector<SheetBox> beforeLabels; // one per row
    std::vector<SheetCell> cells;       // one per Effect, in order
};

constexpr int kSheetMargin = 24;
constexpr int kSheetGap = 12;

// Lays the content out. A Set without Effects gets its heading only. The
// sheet is as wide as its widest row, or its widest label, needs.
SheetLayout LayOutSheet(const SheetContent& content);

// The width of the widest row of crops: the width that labels spanning the
// sheet (title, Set names) are wrapped at.
int RowWidth(const SheetContent& content);

} // namespace vhost::cli
