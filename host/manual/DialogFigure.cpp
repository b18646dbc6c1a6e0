// A drawing of the Set and Effect dialog as the Output plug-in shows it (the
// one with the size note), with the plug-in's first Set and Effect chosen:
// the controls in their places, in a neutral look.
#include "host/manual/Pages.h"

namespace vhost::manual {

namespace {

constexpr const char* kOutputPlugin = "Vellicor Output Honer";
constexpr double kWidth = 390;
constexpr double kTitleBar = 20;
constexpr uint32_t kFace = 0xeef1f4;
constexpr uint32_t kFrame = 0x8a96a2;

TextStyle FigureText(bool bold = false) {
    TextStyle style = BodyStyle();
    style.font = bold ? "DejaVu Sans Bold 8" : "DejaVu Sans 8";
    return style;
}

void Choice(PdfDocument& pdf, double x, double y, double width, const std::string& text) {
    pdf.FillRect(x, y, width, 16, 0xffffff);
    pdf.StrokeRect(x, y, width, 16, 0.7, kFrame);
    TextBlock label(pdf, Markup(text), FigureText(), width - 20);
    label.Draw(x + 4, y + 2);
    TextBlock arrow(pdf, "\u25be", FigureText(), 12);
    arrow.Draw(x + width - 12, y + 2);
}

void Button(PdfDocument& pdf, double x, double y, const std::string& text, bool isDefault) {
    pdf.FillRect(x, y, 66, 18, 0xf8f9fa);
    pdf.StrokeRect(x, y, 66, 18, isDefault ? 1.4 : 0.7, isDefault ? kSteel : kFrame);
    TextStyle style = FigureText();
    style.centred = true;
    TextBlock label(pdf, Markup(text), style, 66);
    label.Draw(x, y + 3);
}

} // namespace

double DrawDialogFigure(PdfDocument& pdf, const ManualContent& content, double y) {
    const PluginEntry* plugin = &content.plugins.front();
    for (const PluginEntry& p : content.plugins) {
        if (p.name == kOutputPlugin) {
            plugin = &p;
        }
    }
    const bool output = plugin->name == kOutputPlugin;
    const std::string set = plugin->sets.empty() ? "" : Utf8FromEightBit(plugin->sets.front().name);
    const std::string effect = plugin->sets.empty() || plugin->sets.front().effects.empty()
                                   ? ""
                                   : Utf8FromEightBit(plugin->sets.front().effects.front().name);

    const double height = kTitleBar + (output ? 140 : 108);
    const double x = kLeft + (kTextWidth - kWidth) / 2;
    pdf.FillRect(x + 3, y + 3, kWidth, height, 0xd0d5da); // shadow
    pdf.FillRect(x, y, kWidth, height, kFace);
    pdf.FillRect(x, y, kWidth, kTitleBar, 0xd5dbe1);
    pdf.StrokeRect(x, y, kWidth, height, 0.8, kFrame);
    TextStyle title = FigureText(true);
    title.centred = true;
    TextBlock caption(pdf, Markup(Utf8FromEightBit(plugin->name)) + " by Corvane Labs", title, kWidth);
    caption.Draw(x, y + 4);

    double row = y + kTitleBar + 10;
    const double left = x + 12;
    if (output) {
        DrawText(pdf, "NOTE: The image must be at final output size!", FigureText(), left, row, 270);
        DrawText(pdf, "Current Size: 3000 pixels x 2000 pixels @ 300.00 ppi", FigureText(), left, row + 14,
                 270);
        row += 32;
    }
    DrawText(pdf, "Please select a Set and Effect.", FigureText(), left, row, 270);
    row += 22;
    TextStyle label = FigureText();
    label.rightAligned = true;
    DrawText(pdf, "Honer Set:", label, left, row + 2, 62);
    Choice(pdf, left + 68, row, 210, set);
    row += 26;
    DrawText(pdf, "Honer Effect:", label, left, row + 2, 62);
    Choice(pdf, left + 68, row, 210, effect);

    const char* buttons[] = {"OK", "Cancel", "Help", "Info"};
    for (int i = 0; i < 4; ++i) {
        Button(pdf, x + kWidth - 80, y + kTitleBar + 10 + i * 26, buttons[i], i == 0);
    }
    TextStyle note = SmallStyle();
    note.centred = true;
    return DrawText(pdf,
                    "The dialog of " + Markup(Utf8FromEightBit(plugin->name)) +
                        ", drawn for this manual; your system gives it its own look.",
                    note, kLeft, y + height + 8, kTextWidth);
}

} // namespace vhost::manual
