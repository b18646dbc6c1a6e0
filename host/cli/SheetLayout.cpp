#include "host/cli/SheetLayout.h"

#include <algorithm>

namespace vhost::cli {

namespace {

int WidestRow(const SheetContent& content) {
    size_t most = 1;
    for (const SheetContent::Set& set : content.sets) {
        most = std::max(most, set.effects.size());
    }
    return static_cast<int>(std::min(most, static_cast<size_t>(std::max(content.columns, 1))));
}

int WidestLabel(const SheetContent& content) {
    int widest = std::max(content.title.width, content.beforeLabel.width);
    for (const SheetContent::Set& set : content.sets) {
        widest = std::max(widest, set.heading.width);
        for (const SheetContent::Effect& effect : set.effects) {
            widest = std::max(widest, effect.label.width);
        }
    }
    return widest;
}

} // namespace

int RowWidth(const SheetContent& content) {
    const int columns = WidestRow(content);
    return (columns + 1) * content.crop.width + columns * kSheetGap;
}

SheetLayout LayOutSheet(const SheetContent& content) {
    SheetLayout layout;
    const int columns = WidestRow(content);
    const int tileWidth = content.crop.width;
    const int tileHeight = content.crop.height;
    const int step = tileWidth + kSheetGap;
    layout.size.width = 2 * kSheetMargin + std::max(RowWidth(content), WidestLabel(content));
    int y = kSheetMargin;
    layout.title = {kSheetMargin, y, content.title.width, content.title.height};
    y += content.title.height + 2 * kSheetGap;
    for (const SheetContent::Set& set : content.sets) {
        layout.headings.push_back({kSheetMargin, y, set.heading.width, set.heading.height});
        y += set.heading.height + kSheetGap / 2;
        for (size_t first = 0; first < set.effects.size(); first += static_cast<size_t>(columns)) {
            const size_t end = std::min(set.effects.size(), first + static_cast<size_t>(columns));
            int labelHeight = content.beforeLabel.height;
            for (size_t i = first; i < end; ++i) {
                labelHeight = std::max(labelHeight, set.effects[i].label.height);
            }
            const int tileTop = y + labelHeight + kSheetGap / 3;
            const SheetBox before{kSheetMargin, tileTop, tileWidth, tileHeight};
            layout.beforeLabels.push_back({kSheetMargin, tileTop - kSheetGap / 3 - content.beforeLabel.height,
                                           content.beforeLabel.width, content.beforeLabel.height});
            for (size_t i = first; i < end; ++i) {
                const int left = kSheetMargin + static_cast<int>(i - first + 1) * step;
                const SheetSize& label = set.effects[i].label;
                layout.cells.push_back(
                    {set.name,
                     set.effects[i].name,
                     {left, tileTop - kSheetGap / 3 - label.height, label.width, label.height},
                     {left, tileTop, tileWidth, tileHeight},
                     before});
            }
            y = tileTop + tileHeight + kSheetGap;
        }
        y += kSheetGap;
    }
    layout.size.height = y - kSheetGap + kSheetMargin;
    return layout;
}

} // namespace vhost::cli
