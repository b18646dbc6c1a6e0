// A float RGB canvas for drawing the test chart: shapes are painted with
// anti-aliased edges (each pixel is covered by 4 x 4 samples), colours are
// sRGB-encoded values on the 0..1 scale.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vtools::chart {

struct Rgb {
    float r = 0;
    float g = 0;
    float b = 0;
};

// An area in pixel coordinates (pixel x covers x to x + 1).
struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Whether a point (in pixel coordinates) lies inside a shape.
using Inside = std::function<bool(double x, double y)>;
// The colour a shaded shape has at a pixel's centre.
using ColourAt = std::function<Rgb(double x, double y)>;

class Canvas {
public:
    Canvas(int width, int height, Rgb paper);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Paints colour over the shape, as far as it covers each pixel of box
    // (clipped to the canvas).
    void Fill(const Box& box, const Inside& inside, Rgb colour);
    // The same with a colour that varies over the shape.
    void Shade(const Box& box, const Inside& inside, const ColourAt& colour);

    Rgb At(int x, int y) const;
    // Interleaved RGB, row by row.
    const std::vector<float>& Values() const { return values_; }

private:
    int width_;
    int height_;
    std::vector<float> values_;
};

// Shapes. Angles are in radians, counter-clockwise on the screen.

// A stroke of the given width between two points, with round ends.
Inside Stroke(double x0, double y0, double x1, double y1, double width);
// An arc of a circle drawn with the given width, from angle a0 to a1.
Inside Arc(double cx, double cy, double radius, double a0, double a1, double width);
Inside Ellipse(double cx, double cy, double rx, double ry);
// A rectangle of half-sides hw, hh turned by angle about its centre.
Inside TurnedRect(double cx, double cy, double hw, double hh, double angle);
Inside Rect(const Box& box);

// The box a stroke or arc of that reach covers, with a margin for
// anti-aliasing.
Box Around(double cx, double cy, double reach);

// A fixed sequence of pseudo-random numbers (xorshift): the same chart every
// time on every machine.
class Dice {
public:
    explicit Dice(uint32_t seed) : state_(seed != 0 ? seed : 1) {}
    uint32_t Next();
    // Uniform in [0, 1).
    double Unit();
    // Standard normal (Box-Muller).
    double Normal();

private:
    uint32_t state_;
};

} // namespace vtools::chart
