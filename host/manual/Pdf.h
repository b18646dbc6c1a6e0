// A PDF document drawn with cairo, and blocks of text laid out with pango:
// the few drawing primitives the manual's pages are made of. Lengths are in
// points (1/72 inch); text is UTF-8 with pango markup.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/manual/RgbPicture.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _PangoLayout PangoLayout;

namespace vhost::manual {

// How a block of text looks.
struct TextStyle {
    std::string font = "DejaVu Sans 9.5"; // a pango font description
    double red = 0.1, green = 0.1, blue = 0.12;
    double lineSpacing = 0; // 0: the font's own; else a factor of its height
    bool centred = false;
    bool rightAligned = false;
};

// A picture placed in the document: made once, drawn as often as wanted (the
// PDF then holds its pixels once).
class PdfPicture {
public:
    explicit PdfPicture(const RgbPicture& picture);
    ~PdfPicture();
    PdfPicture(PdfPicture&&) noexcept;
    PdfPicture& operator=(PdfPicture&&) noexcept;
    PdfPicture(const PdfPicture&) = delete;
    PdfPicture& operator=(const PdfPicture&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    cairo_surface_t* Surface() const { return surface_; }

private:
    cairo_surface_t* surface_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

class PdfDocument;

// A paragraph (or several) of text wrapped to a width; measured before it is
// drawn, so a page can be planned.
class TextBlock {
public:
    TextBlock(PdfDocument& pdf, const std::string& markup, const TextStyle& style, double width);
    ~TextBlock();
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    double Height() const;
    double Width() const; // of the widest line
    int Lines() const;
    // Draws with the top left corner of the block at (x, y).
    void Draw(double x, double y);

private:
    PdfDocument& pdf_;
    PangoLayout* layout_ = nullptr;
    TextStyle style_;
};

// A PDF file being written, one page at a time. Throws ManualError when the
// file cannot be made or cairo reports a failure.
class PdfDocument {
public:
    PdfDocument(const std::string& path, double width, double height);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    double PageWidth() const { return width_; }
    double PageHeight() const { return height_; }
    // 1 on the first page.
    int PageNumber() const { return page_; }
    cairo_t* Cairo() const { return cr_; }

    void SetMetadata(const std::string& title, const std::string& author, const std::string& subject);
    // Adds a bookmark to a page; returns its id, the parent of entries under it
    // (0 for the top level).
    int AddOutline(int parent, const std::string& title, int page, bool open);

    // Ends the page and starts the next.
    void NextPage();
    // Draws picture scaled by `scale`, each pixel a square (no smoothing).
    void DrawPicture(const PdfPicture& picture, double x, double y, double scale);
    // A filled rectangle, and a line, in a colour given as 0xRRGGBB.
    void FillRect(double x, double y, double width, double height, uint32_t colour);
    void Line(double x0, double y0, double x1, double y1, double width, uint32_t colour);
    void StrokeRect(double x, double y, double width, double height, double lineWidth, uint32_t colour);
    // Makes the area a link to a page of this document.
    void LinkToPage(double x, double y, double width, double height, int page);

    // Ends the last page and writes the file; throws ManualError on failure.
    void Finish();

private:
    void Check(const char* what) const;

    std::string path_;
    double width_;
    double height_;
    int page_ = 1;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    bool finished_ = false;
};

// Escapes a UTF-8 text for pango markup.
std::string Markup(const std::string& utf8);

// An 8-bit name (the module's names are 8-bit texts) as UTF-8, each byte
// taken as the character of that number (ISO 8859-1); control characters
// become "?".
std::string Utf8FromEightBit(const std::string& text);

} // namespace vhost::manual
