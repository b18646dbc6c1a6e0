// The contents: one line per usage section, plug-in, Set and Effect, with
// its page number, each line a link to its page; and the same as the PDF's
// bookmarks.
#include <cairo.h>

#include "host/manual/Pages.h"

namespace vhost::manual {

namespace {

constexpr double kLinePitch = 14.2;
constexpr double kIndent = 14;

TextStyle LineStyle(int level) {
    TextStyle style = BodyStyle();
    if (level == 0) {
        style.font = "DejaVu Sans Bold 10";
    } else if (level == 2) {
        style = SmallStyle();
        style.font = "DejaVu Sans 8.5";
    }
    return style;
}

// Dots from the end of the title to the page number.
void Leader(PdfDocument& pdf, double from, double to, double baseline) {
    if (to - from < 8) {
        return;
    }
    cairo_t* cr = pdf.Cairo();
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0.6, 0.64, 0.68);
    cairo_set_line_width(cr, 0.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double dash[] = {0, 3.2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_move_to(cr, from, baseline);
    cairo_line_to(cr, to, baseline);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void DrawLine(PdfDocument& pdf, const ContentsLine& line, double y) {
    constexpr double numberWidth = 30;
    const double x = kLeft + kIndent * line.level;
    const double titleWidth = kTextWidth - kIndent * line.level - numberWidth - 12;
    TextStyle style = LineStyle(line.level);
    TextBlock title(pdf, Markup(line.title), style, titleWidth);
    if (title.Lines() > 1) {
        throw ManualError("the contents line \"" + line.title + "\" is too long for one line");
    }
    title.Draw(x, y);
    style.rightAligned = true;
    TextBlock number(pdf, std::to_string(line.page), style, numberWidth);
    number.Draw(kRight - numberWidth, y);
    Leader(pdf, x + title.Width() + 4, kRight - number.Width() - 4, y + title.Height() * 0.78);
    pdf.LinkToPage(x, y, kRight - x, kLinePitch, line.page);
}

void AddBookmarks(PdfDocument& pdf, const PagePlan& plan) {
    int chapter = 0;
    int section = 0;
    for (const ContentsLine& line : plan.contents) {
        if (line.level == 0) {
            chapter = pdf.AddOutline(0, line.title, line.page, false);
        } else if (line.level == 1) {
            section = pdf.AddOutline(chapter, line.title, line.page, false);
        } else {
            pdf.AddOutline(section, line.title, line.page, false);
        }
    }
}

} // namespace

void DrawContents(PdfDocument& pdf, const PagePlan& plan) {
    AddBookmarks(pdf, plan);
    size_t next = 0;
    for (int page = 0; page < plan.contentsPages; ++page) {
        if (page > 0) {
            pdf.NextPage();
        }
        DrawPageFrame(pdf, "Contents");
        double y = DrawText(pdf, "Contents", HeadingStyle(20), kLeft, kTop, kTextWidth) + 14;
        for (int line = 0; line < kContentsLinesPerPage && next < plan.contents.size(); ++line, ++next) {
            if (plan.contents[next].level == 0 && line > 0) {
                y += 4; // a little air before each chapter
            }
            DrawLine(pdf, plan.contents[next], y);
            y += kLinePitch;
        }
        if (y > kBottom) {
            throw ManualError("the contents run past the foot of page " + std::to_string(pdf.PageNumber()));
        }
    }
}

} // namespace vhost::manual
