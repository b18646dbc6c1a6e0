// The contact sheet's layout: every Effect once, in order, under its label,
// beside the crop before it, nothing overlapping, all on the sheet.
#include <gtest/gtest.h>

#include <map>

#include "host/cli/SheetLayout.h"

namespace vhost::cli {
namespace {

bool Overlap(const SheetBox& a, const SheetBox& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool Inside(const SheetBox& box, const SheetSize& size) {
    return box.left >= 0 && box.top >= 0 && box.left + box.width <= size.width &&
           box.top + box.height <= size.height;
}

SheetContent Content(const std::vector<size_t>& effectsPerSet, int columns) {
    SheetContent content;
    content.crop = {100, 60};
    content.columns = columns;
    content.title = {250, 20};
    content.beforeLabel = {40, 14};
    for (size_t s = 0; s < effectsPerSet.size(); ++s) {
        SheetContent::Set set{"Set " + std::to_string(s), {80, 18}, {}};
        for (size_t e = 0; e < effectsPerSet[s]; ++e) {
            // Labels of one and of two lines.
            set.effects.push_back({"Effect " + std::to_string(e), {90, e % 2 == 0 ? 14 : 28}});
        }
        content.sets.push_back(set);
    }
    return content;
}

TEST(SheetLayout, PlacesEveryEffectOnceUnderItsLabelBesideTheCropBefore) {
    for (const int columns : {1, 3, 4, 16}) {
        SCOPED_TRACE(columns);
        const SheetContent content = Content({5, 0, 3, 9}, columns);
        const SheetLayout layout = LayOutSheet(content);
        ASSERT_EQ(17u, layout.cells.size());
        EXPECT_EQ(4u, layout.headings.size());
        size_t i = 0;
        for (const SheetContent::Set& set : content.sets) {
            for (const SheetContent::Effect& effect : set.effects) {
                const SheetCell& cell = layout.cells[i++];
                EXPECT_EQ(set.name, cell.set);
                EXPECT_EQ(effect.name, cell.effect);
                EXPECT_EQ(effect.label.width, cell.label.width);
                EXPECT_EQ(effect.label.height, cell.label.height);
                // The label sits just above its crop, the crop before at the
                // start of the same row.
                EXPECT_EQ(cell.label.left, cell.after.left);
                EXPECT_LT(cell.label.top + cell.label.height, cell.after.top + 1);
                EXPECT_LE(cell.after.top - (cell.label.top + cell.label.height), kSheetGap);
                EXPECT_EQ(cell.before.top, cell.after.top);
                EXPECT_EQ(kSheetMargin, cell.before.left);
                EXPECT_EQ(content.crop.width, cell.after.width);
                EXPECT_EQ(content.crop.height, cell.after.height);
                EXPECT_GT(cell.after.left, cell.before.left + cell.before.width);
            }
        }
        // A row holds at most `columns` Effects.
        std::map<int, int> perRow;
        for (const SheetCell& cell : layout.cells) {
            EXPECT_LE(++perRow[cell.after.top], columns);
        }
        EXPECT_EQ(perRow.size(), layout.beforeLabels.size());
    }
}

TEST(SheetLayout, NothingOverlapsAndEverythingIsOnTheSheet) {
    const SheetLayout layout = LayOutSheet(Content({4, 7, 1}, 3));
    std::vector<SheetBox> boxes = {layout.title};
    boxes.insert(boxes.end(), layout.headings.begin(), layout.headings.end());
    boxes.insert(boxes.end(), layout.beforeLabels.begin(), layout.beforeLabels.end());
    for (const SheetCell& cell : layout.cells) {
        boxes.push_back(cell.label);
        boxes.push_back(cell.after);
    }
    for (const SheetCell& cell : layout.cells) {
        if (cell.after.left == layout.cells.front().after.left) {
            boxes.push_back(cell.before); // once per row
        }
    }
    for (size_t a = 0; a < boxes.size(); ++a) {
        EXPECT_TRUE(Inside(boxes[a], layout.size)) << a;
        for (size_t b = a + 1; b < boxes.size(); ++b) {
            EXPECT_FALSE(Overlap(boxes[a], boxes[b])) << a << " and " << b;
        }
    }
    // Headings come in order down the sheet, each above its Set's crops.
    for (size_t s = 1; s < layout.headings.size(); ++s) {
        EXPECT_GT(layout.headings[s].top, layout.headings[s - 1].top);
    }
}

TEST(SheetLayout, IsAsWideAsItsWidestRowOrLabel) {
    SheetContent content = Content({2}, 4);
    EXPECT_EQ(2 * kSheetMargin + 3 * 100 + 2 * kSheetGap, LayOutSheet(content).size.width);
    EXPECT_EQ(3 * 100 + 2 * kSheetGap, RowWidth(content));
    content.sets[0].effects.resize(9, content.sets[0].effects[0]);
    EXPECT_EQ(2 * kSheetMargin + 5 * 100 + 4 * kSheetGap, LayOutSheet(content).size.width);
    content.title.width = 2000;
    EXPECT_EQ(2 * kSheetMargin + 2000, LayOutSheet(content).size.width);
}

} // namespace
} // namespace vhost::cli
