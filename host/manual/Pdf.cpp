#include "host/manual/Pdf.h"

#include <cairo-pdf.h>
#include <glib.h>
#include <pango/pangocairo.h>

#include <charconv>
#include <utility>

#include "host/manual/ManualError.h"

namespace vhost::manual {

namespace {

// Text is set without ligatures, kerning or hyphens inserted at breaks, so
// that what a reader copies (or a tool extracts) is exactly the words written:
// a kerned "P," reads back as two pieces, and a name copied from the manual
// into a script must be the name.
constexpr const char* kPlainTextOpen =
    "<span font_features=\"liga=0,clig=0,kern=0\" insert_hyphens=\"false\">";
constexpr const char* kPlainTextClose = "</span>";

void SetColour(cairo_t* cr, uint32_t colour) {
    cairo_set_source_rgb(cr, ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                         (colour & 0xFF) / 255.0);
}

// Locale-independent, as cairo's attribute parser wants it.
std::string Decimal(double value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};

} // namespace

// ---- PdfPicture ----------------------------------------------------------------

PdfPicture::PdfPicture(const RgbPicture& picture) : width_(picture.width), height_(picture.height) {
    if (width_ < 1 || height_ < 1 || picture.rgb.size() != size_t(width_) * size_t(height_) * 3) {
        throw ManualError("a picture of " + std::to_string(width_) + " x " + std::to_string(height_) +
                          " pixels needs " + std::to_string(size_t(width_) * size_t(height_) * 3) +
                          " bytes, not " + std::to_string(picture.rgb.size()));
    }
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
        throw ManualError("cairo cannot make a picture of " + std::to_string(width_) + " x " +
                          std::to_string(height_) + " pixels");
    }
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < height_; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + ptrdiff_t(y) * stride);
        const uint8_t* in = picture.rgb.data() + size_t(y) * size_t(width_) * 3;
        for (int x = 0; x < width_; ++x, in += 3) {
            row[x] = (uint32_t(in[0]) << 16) | (uint32_t(in[1]) << 8) | uint32_t(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface_);
}

PdfPicture::~PdfPicture() {
    if (surface_ != nullptr) {
        cairo_surface_destroy(surface_);
    }
}

PdfPicture::PdfPicture(PdfPicture&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)), width_(other.width_), height_(other.height_) {
}

PdfPicture& PdfPicture::operator=(PdfPicture&& other) noexcept {
    if (this != &other) {
        if (surface_ != nullptr) {
            cairo_surface_destroy(surface_);
        }
        surface_ = std::exchange(other.surface_, nullptr);
        width_ = other.width_;
        height_ = other.height_;
    }
    return *this;
}

// ---- TextBlock -------------------------------------------------------------------

TextBlock::TextBlock(PdfDocument& pdf, const std::string& markup, const TextStyle& style, double width)
    : pdf_(pdf), style_(style) {
    const std::string text = kPlainTextOpen + markup + kPlainTextClose;
    GError* error = nullptr;
    if (!pango_parse_markup(text.c_str(), -1, 0, nullptr, nullptr, nullptr, &error)) {
        const std::string why = error != nullptr ? error->message : "unknown reason";
        g_clear_error(&error);
        throw ManualError("the text \"" + markup.substr(0, 60) + "\" is not valid markup: " + why);
    }
    layout_ = pango_cairo_create_layout(pdf.Cairo());
    // Font sizes are in points, as everything on the page: one point to one
    // unit (pango's own default is 96 to the inch).
    pango_cairo_context_set_resolution(pango_layout_get_context(layout_), 72);
    pango_layout_context_changed(layout_);
    const std::unique_ptr<PangoFontDescription, FontDescriptionDeleter> font(
        pango_font_description_from_string(style.font.c_str()));
    pango_layout_set_font_description(layout_, font.get());
    pango_layout_set_width(layout_, int(width * PANGO_SCALE));
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD);
    pango_layout_set_line_spacing(layout_, float(style.lineSpacing));
    pango_layout_set_alignment(layout_, style.centred        ? PANGO_ALIGN_CENTER
                                        : style.rightAligned ? PANGO_ALIGN_RIGHT
                                                             : PANGO_ALIGN_LEFT);
    pango_layout_set_markup(layout_, text.c_str(), -1);
}

TextBlock::~TextBlock() {
    g_object_unref(layout_);
}

double TextBlock::Height() const {
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return double(logical.height) / PANGO_SCALE;
}

double TextBlock::Width() const {
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return double(logical.width) / PANGO_SCALE;
}

int TextBlock::Lines() const {
    return pango_layout_get_line_count(layout_);
}

void TextBlock::Draw(double x, double y) {
    cairo_t* cr = pdf_.Cairo();
    cairo_save(cr);
    cairo_set_source_rgb(cr, style_.red, style_.green, style_.blue);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout_);
    cairo_restore(cr);
}

// ---- PdfDocument ---------------------------------------------------------------------

PdfDocument::PdfDocument(const std::string& path, double width, double height)
    : path_(path), width_(width), height_(height) {
    surface_ = cairo_pdf_surface_create(path.c_str(), width, height);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        const std::string why = cairo_status_to_string(cairo_surface_status(surface_));
        cairo_surface_destroy(surface_);
        throw ManualError("cannot write " + path + ": " + why);
    }
    cr_ = cairo_create(surface_);
    // Each page can be linked to by name: "page-N".
    cairo_tag_begin(cr_, CAIRO_TAG_DEST, "name='page-1'");
    cairo_tag_end(cr_, CAIRO_TAG_DEST);
}

PdfDocument::~PdfDocument() {
    if (cr_ != nullptr) {
        cairo_destroy(cr_);
    }
    if (surface_ != nullptr) {
        cairo_surface_destroy(surface_);
    }
}

void PdfDocument::Check(const char* what) const {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        throw ManualError(std::string("cairo failed ") + what + " of " + path_ + ": " +
                          cairo_status_to_string(cairo_status(cr_)));
    }
}

void PdfDocument::SetMetadata(const std::string& title, const std::string& author,
                              const std::string& subject) {
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_AUTHOR, author.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_SUBJECT, subject.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "vellicor manual");
}

int PdfDocument::AddOutline(int parent, const std::string& title, int page, bool open) {
    const std::string link = "dest='page-" + std::to_string(page) + "'";
    return cairo_pdf_surface_add_outline(surface_, parent, title.c_str(), link.c_str(),
                                         open ? CAIRO_PDF_OUTLINE_FLAG_OPEN : cairo_pdf_outline_flags_t(0));
}

void PdfDocument::NextPage() {
    cairo_show_page(cr_);
    Check("ending a page");
    ++page_;
    const std::string name = "name='page-" + std::to_string(page_) + "'";
    cairo_tag_begin(cr_, CAIRO_TAG_DEST, name.c_str());
    cairo_tag_end(cr_, CAIRO_TAG_DEST);
}

void PdfDocument::DrawPicture(const PdfPicture& picture, double x, double y, double scale) {
    cairo_save(cr_);
    cairo_translate(cr_, x, y);
    cairo_scale(cr_, scale, scale);
    cairo_set_source_surface(cr_, picture.Surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr_, 0, 0, picture.Width(), picture.Height());
    cairo_fill(cr_);
    cairo_restore(cr_);
    Check("drawing a picture");
}

void PdfDocument::FillRect(double x, double y, double width, double height, uint32_t colour) {
    cairo_save(cr_);
    SetColour(cr_, colour);
    cairo_rectangle(cr_, x, y, width, height);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void PdfDocument::Line(double x0, double y0, double x1, double y1, double width, uint32_t colour) {
    cairo_save(cr_);
    SetColour(cr_, colour);
    cairo_set_line_width(cr_, width);
    cairo_move_to(cr_, x0, y0);
    cairo_line_to(cr_, x1, y1);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

void PdfDocument::StrokeRect(double x, double y, double width, double height, double lineWidth,
                             uint32_t colour) {
    cairo_save(cr_);
    SetColour(cr_, colour);
    cairo_set_line_width(cr_, lineWidth);
    cairo_rectangle(cr_, x, y, width, height);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

void PdfDocument::LinkToPage(double x, double y, double width, double height, int page) {
    const std::string attributes = "rect=[" + Decimal(x) + " " + Decimal(y) + " " + Decimal(width) + " " +
                                   Decimal(height) + "] dest='page-" + std::to_string(page) + "'";
    cairo_tag_begin(cr_, CAIRO_TAG_LINK, attributes.c_str());
    cairo_tag_end(cr_, CAIRO_TAG_LINK);
}

void PdfDocument::Finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    Check("finishing the last page");
    cairo_destroy(cr_);
    cr_ = nullptr;
    cairo_surface_finish(surface_);
    const cairo_status_t status = cairo_surface_status(surface_);
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    if (status != CAIRO_STATUS_SUCCESS) {
        throw ManualError("cannot write " + path_ + ": " + cairo_status_to_string(status));
    }
}

// ---- texts ------------------------------------------------------------------------------

std::string Markup(const std::string& utf8) {
    gchar* escaped = g_markup_escape_text(utf8.c_str(), gssize(utf8.size()));
    std::string out(escaped);
    g_free(escaped);
    return out;
}

std::string Utf8FromEightBit(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
            out += '?'; // control characters have no place in a printed name
        } else if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

} // namespace vhost::manual
