#include "host/cli/SheetDraw.h"

#include <algorithm>

namespace vhost::cli {

namespace {

constexpr const char* kLabelFont = "sans 10";
constexpr const char* kHeadingFont = "sans bold 12";
constexpr const char* kTitleFont = "sans bold 13";
constexpr int kTextDpi = 96;
const std::vector<double> kInk = {20, 20, 24};
const std::vector<double> kFailureInk = {170, 20, 20};

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A label as a one-band mask of its ink, wrapped at width pixels.
vips::VImage Label(const std::string& text, const char* font, int width) {
    return vips::VImage::text(
        Escaped(text).c_str(),
        vips::VImage::option()->set("font", font)->set("width", width)->set("dpi", kTextDpi));
}

SheetSize SizeOf(const vips::VImage& image) {
    return {image.width(), image.height()};
}

void Ink(vips::VImage& canvas, const vips::VImage& mask, const SheetBox& at, const std::vector<double>& ink) {
    const vips::VImage area = canvas.extract_area(at.left, at.top, mask.width(), mask.height());
    const vips::VImage cover = mask.linear(1.0 / 255.0, 0.0);
    const vips::VImage inked = area * (1.0 - cover) + cover * ink;
    canvas.draw_image(inked.cast(VIPS_FORMAT_UCHAR), at.left, at.top);
}

vips::VImage Tile(const vips::VImage& rgb) {
    return rgb.linear(255.0, 0.5).cast(VIPS_FORMAT_UCHAR);
}

} // namespace

SheetContent LabelSheet(const std::vector<ListedSet>& sets, SheetSize crop, int columns,
                        const std::string& title, SheetLabels& labels) {
    SheetContent content;
    content.crop = crop;
    content.columns = columns;
    for (const ListedSet& set : sets) {
        SheetContent::Set s{set.name, {}, {}};
        for (const std::string& effect : set.effects) {
            labels.effects.push_back(Label(effect, kLabelFont, crop.width));
            s.effects.push_back({effect, SizeOf(labels.effects.back())});
        }
        content.sets.push_back(std::move(s));
    }
    // Labels that span the sheet wrap at the width of its rows.
    const int wide = RowWidth(content);
    labels.title = Label(title, kTitleFont, wide);
    labels.before = Label("Before", kLabelFont, crop.width);
    content.title = SizeOf(labels.title);
    content.beforeLabel = SizeOf(labels.before);
    for (SheetContent::Set& set : content.sets) {
        labels.headings.push_back(Label(set.name, kHeadingFont, wide));
        set.heading = SizeOf(labels.headings.back());
    }
    return content;
}

vips::VImage DrawSheet(const SheetLayout& layout, const SheetLabels& labels, const vips::VImage& before,
                       const std::vector<SheetTile>& played) {
    vips::VImage canvas =
        (vips::VImage::black(layout.size.width, layout.size.height, vips::VImage::option()->set("bands", 3)) +
         255)
            .cast(VIPS_FORMAT_UCHAR)
            .copy_memory();
    Ink(canvas, labels.title, layout.title, kInk);
    for (size_t i = 0; i < layout.headings.size(); ++i) {
        Ink(canvas, labels.headings[i], layout.headings[i], kInk);
    }
    const vips::VImage beforeTile = Tile(before).copy_memory();
    for (const SheetBox& label : layout.beforeLabels) {
        Ink(canvas, labels.before, label, kInk);
        canvas.draw_image(beforeTile, label.left, label.top + label.height + kSheetGap / 3);
    }
    for (size_t i = 0; i < layout.cells.size(); ++i) {
        const SheetCell& cell = layout.cells[i];
        Ink(canvas, labels.effects[i], cell.label, kInk);
        if (played[i].crop) {
            canvas.draw_image(Tile(*played[i].crop), cell.after.left, cell.after.top);
        } else {
            const vips::VImage message =
                Label("Failed: " + played[i].failure, kLabelFont, cell.after.width - 8);
            canvas.draw_rect({230, 230, 230}, cell.after.left, cell.after.top, cell.after.width,
                             cell.after.height, vips::VImage::option()->set("fill", true));
            const vips::VImage shown = message.extract_area(
                0, 0, message.width(), std::min(message.height(), cell.after.height - 8));
            Ink(canvas, shown, {cell.after.left + 4, cell.after.top + 4, 0, 0}, kFailureInk);
        }
    }
    return canvas;
}

} // namespace vhost::cli
