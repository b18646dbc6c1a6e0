// The manual's kinds of page, each drawn into the PDF by one function. Every
// function draws its own pages and leaves the document on its last one; the
// caller starts the next page. A function whose text does not fit the room
// the plan gives it throws ManualError: the plan's page numbers must hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/manual/ManualContent.h"
#include "host/manual/ManualError.h"
#include "host/manual/PagePlan.h"
#include "host/manual/Pdf.h"
#include "host/manual/Sample.h"

namespace vhost::manual {

// The printed area of every page but the cover.
constexpr double kLeft = 56;
constexpr double kRight = kPageWidth - 56;
constexpr double kTop = 62;
constexpr double kBottom = kPageHeight - 54;
constexpr double kTextWidth = kRight - kLeft;

// The crops are shown enlarged, each pixel a square of this many points.
constexpr double kCropScale = 2;

// Colours.
constexpr uint32_t kInk = 0x1b2129;
constexpr uint32_t kSteel = 0x3b5b7a;
constexpr uint32_t kRule = 0xb9c4cd;
constexpr uint32_t kAmber = 0xe3a33c;

// Text styles.
TextStyle BodyStyle();
TextStyle SmallStyle();
TextStyle HeadingStyle(double size);

// The running head (chapter on the left, the manual's name on the right, a
// rule below) and the page number at the foot.
void DrawPageFrame(PdfDocument& pdf, const std::string& chapter);

// A text block drawn at y; returns the y below it.
double DrawText(PdfDocument& pdf, const std::string& markup, const TextStyle& style, double x, double y,
                double width);

// The pieces of the manual.
struct CoverFacts {
    std::string version;
    RgbPicture logo;
};
void DrawCover(PdfDocument& pdf, const ManualContent& content, const CoverFacts& facts);
void DrawContents(PdfDocument& pdf, const PagePlan& plan);
void DrawUsage(PdfDocument& pdf, const ManualContent& content, const ManualSample& sample);
// A drawing of the Set and Effect dialog, centred below y; returns the y
// below its caption.
double DrawDialogFigure(PdfDocument& pdf, const ManualContent& content, double y);
void DrawPluginOpening(PdfDocument& pdf, const PluginEntry& plugin, const std::vector<int>& setPages);

// The pictures of one Set: each Effect's after-crop, in order, and the one
// before-crop all share.
struct SetPictures {
    const PdfPicture* before = nullptr;
    std::vector<const PdfPicture*> after;
};
void DrawSetPages(PdfDocument& pdf, const PluginEntry& plugin, const SetEntry& set,
                  const SetPictures& pictures);

// A plug-in's stage of the work in a sentence or two: capture, creative or
// output sharpening; a plain sentence for a plug-in not known here.
std::string StageOfPlugin(const std::string& pluginName);

} // namespace vhost::manual
