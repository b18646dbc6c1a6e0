// The project's own test chart, the `vellicor` command's default image: fine
// radial and bar detail, hard and slanted edges, thin lines, text-like
// strokes, smooth grey, colour and sky gradients, skin tones, saturated
// colour patches, softened and made slightly noisy as a camera leaves an
// image. The same pixels on every machine.
//
// Layout (1200 x 800 pixels at 300 ppi):
//   top row       radial star | bar groups of 2 to 10 px | lines of text
//   middle row    slanted edge and thin lines | the detail area | colour
//                 patches and a grey step wedge
//   bottom row    three skin tones with hair | grey ramp, hue ramp, a sky
//                 with clouds, hills and a bare tree
// The detail area, the image's central 320 x 240 pixels, holds a little of
// everything: text, a slanted edge with a line pair, a face with hair and an
// eye, sky, and a saturated red and blue meeting.
#pragma once

#include <string>

#include <vips/vips8>

#include "resources/images/ChartCanvas.h"

namespace vtools::chart {

constexpr int kChartWidth = 1200;
constexpr int kChartHeight = 800;
constexpr double kChartResolution = 300.0; // pixels per inch
constexpr Box kDetailArea{440, 280, 760, 520};

// The sharp, noiseless scene.
Canvas DrawScene();

// The chart as a file holds it: the scene softened by a Gaussian of 0.6 px
// and given a little luminance and colour noise, 16-bit RGB, with libvips'
// built-in sRGB profile embedded and a resolution of 300 ppi.
vips::VImage RenderChart();

// Writes RenderChart() to path (the format by its extension; TIFF is stored
// with lossless deflate compression). Throws vips::VError on failure.
void WriteChart(const std::string& path);

} // namespace vtools::chart
