// The cover: the logo, the manual's title, and what the module offers.
#include "host/manual/Pages.h"

namespace vhost::manual {

void DrawCover(PdfDocument& pdf, const ManualContent& content, const CoverFacts& facts) {
    // A dark band the logo sits in, the colour of its own background.
    const PdfPicture logo(facts.logo);
    const double scale = 0.9;
    const double logoWidth = logo.Width() * scale;
    const double logoHeight = logo.Height() * scale;
    const double bandTop = 120;
    const double bandHeight = logoHeight + 60;
    pdf.FillRect(0, bandTop, kPageWidth, bandHeight, 0x1b2129);
    pdf.DrawPicture(logo, (kPageWidth - logoWidth) / 2, bandTop + 30, scale);
    pdf.FillRect(0, bandTop + bandHeight, kPageWidth, 4, kAmber);

    double y = bandTop + bandHeight + 70;
    TextStyle title = HeadingStyle(34);
    title.centred = true;
    y = DrawText(pdf, "Vellicor Honer", title, kLeft, y, kTextWidth);
    TextStyle subtitle = HeadingStyle(18);
    subtitle.centred = true;
    subtitle.red = subtitle.green = subtitle.blue = 0.25;
    y = DrawText(pdf, "User Manual", subtitle, kLeft, y + 6, kTextWidth);

    TextStyle body = BodyStyle();
    body.centred = true;
    std::string plugins;
    for (const PluginEntry& plugin : content.plugins) {
        plugins += (plugins.empty() ? "" : "\n") + Markup(Utf8FromEightBit(plugin.name));
    }
    y = DrawText(pdf, "Sharpening recipes for capture, creative work and output, in these plug-ins:", body,
                 kLeft, y + 40, kTextWidth);
    TextStyle names = HeadingStyle(12);
    names.centred = true;
    names.lineSpacing = 1.3;
    y = DrawText(pdf, plugins, names, kLeft, y + 10, kTextWidth);
    const std::string counts = std::to_string(content.plugins.size()) + " plug-ins \u00b7 " +
                               std::to_string(CountSets(content)) + " Sets \u00b7 " +
                               std::to_string(CountEffects(content)) + " Effects";
    DrawText(pdf, counts, body, kLeft, y + 16, kTextWidth);

    TextStyle foot = BodyStyle();
    foot.centred = true;
    DrawText(pdf, "<b>Corvane Labs</b>\nVersion " + Markup(facts.version), foot, kLeft, kPageHeight - 110,
             kTextWidth);
}

} // namespace vhost::manual
