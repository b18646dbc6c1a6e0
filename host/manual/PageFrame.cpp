#include "host/manual/Pages.h"

#include <charconv>
#include <map>
#include <utility>

namespace vhost::manual {

namespace {

// Locale-independent: a font description always has a full stop.
std::string FormatPoints(double size) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, size, std::chars_format::fixed, 1).ptr;
    return std::string(text, end);
}

TextStyle Coloured(std::string font, uint32_t colour) {
    TextStyle style;
    style.font = std::move(font);
    style.red = ((colour >> 16) & 0xFF) / 255.0;
    style.green = ((colour >> 8) & 0xFF) / 255.0;
    style.blue = (colour & 0xFF) / 255.0;
    return style;
}

} // namespace

TextStyle BodyStyle() {
    return Coloured("DejaVu Sans 10", kInk);
}

TextStyle SmallStyle() {
    return Coloured("DejaVu Sans 8", 0x5a6470);
}

TextStyle HeadingStyle(double size) {
    return Coloured("DejaVu Sans Bold " + FormatPoints(size), kSteel);
}

void DrawPageFrame(PdfDocument& pdf, const std::string& chapter) {
    TextStyle head = SmallStyle();
    DrawText(pdf, Markup(chapter), head, kLeft, 32, kTextWidth * 0.7);
    head.rightAligned = true;
    DrawText(pdf, "Vellicor Honer User Manual", head, kLeft, 32, kTextWidth);
    pdf.Line(kLeft, 46, kRight, 46, 0.6, kRule);
    TextStyle foot = SmallStyle();
    foot.centred = true;
    DrawText(pdf, std::to_string(pdf.PageNumber()), foot, kLeft, kPageHeight - 40, kTextWidth);
}

double DrawText(PdfDocument& pdf, const std::string& markup, const TextStyle& style, double x, double y,
                double width) {
    TextBlock block(pdf, markup, style, width);
    block.Draw(x, y);
    return y + block.Height();
}

std::string StageOfPlugin(const std::string& pluginName) {
    static const std::map<std::string, const char*> stages = {
        {"Vellicor Capture Honer",
         "Capture sharpening restores the crispness that the camera or the scanner took away. Apply it "
         "first, to the whole image, after any noise reduction, and choose the Effect by where the picture "
         "came from."},
        {"Vellicor Creative Honer",
         "Creative sharpening brings out detail, texture and local contrast where the picture needs it, "
         "or softens it. Its Effects leave their work on a layer of its own, to tune with the layer's "
         "opacity or to paint out where it is not wanted."},
        {"Vellicor Output Honer",
         "Output sharpening prepares the picture for its medium: the paper, the press or the screen. "
         "Apply it last, after the picture has been brought to its final output size."},
        {"Vellicor Capture Honer Expert",
         "The same capture sharpening as Vellicor Capture Honer, with the same Sets and Effects, but left "
         "as two layers, one for the dark and one for the light side of the edges, so that each can be "
         "tuned on its own."},
    };
    const auto it = stages.find(pluginName);
    return it != stages.end()
               ? it->second
               : "This plug-in plays the sharpening recipes of its Sets on the current document.";
}

} // namespace vhost::manual
