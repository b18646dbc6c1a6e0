// Text-like strokes for the test chart: words of invented letters, drawn as
// strokes of a pen, the way print and handwriting look to a sharpening filter.
#pragma once

#include "resources/images/ChartCanvas.h"

namespace vtools::chart {

struct Pen {
    double xHeight = 8; // pixels
    Rgb ink;
};

// Writes pseudo-random words on one line from (left, baseline) up to right;
// the same seed gives the same words.
void WriteLine(Canvas& canvas, double left, double baseline, double right, const Pen& pen, uint32_t seed);

} // namespace vtools::chart
