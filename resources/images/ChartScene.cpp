// The scene of the test chart, part by part, in sRGB-encoded colours.
#include <algorithm>
#include <cmath>

#include "resources/images/Chart.h"
#include "resources/images/ChartText.h"

namespace vtools::chart {

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr Rgb kPaper{0.80f, 0.79f, 0.76f};
constexpr Rgb kInk{0.07f, 0.07f, 0.09f};
constexpr Rgb kWhite{0.95f, 0.95f, 0.94f};
constexpr Rgb kBlack{0.05f, 0.05f, 0.06f};

Rgb Mix(Rgb a, Rgb b, double t) {
    const auto f = static_cast<float>(std::clamp(t, 0.0, 1.0));
    return {a.r + f * (b.r - a.r), a.g + f * (b.g - a.g), a.b + f * (b.b - a.b)};
}

Rgb Scaled(Rgb c, double k) {
    const auto f = static_cast<float>(k);
    return {std::min(1.0f, c.r * f), std::min(1.0f, c.g * f), std::min(1.0f, c.b * f)};
}

// A fixed value in [-1, 1] for a pixel: texture that does not depend on the
// order things are drawn in.
double Grain(double x, double y, uint32_t seed) {
    // Unsigned arithmetic: the products wrap around by design.
    auto h = static_cast<uint32_t>(static_cast<int>(x)) * 73856093u ^
             static_cast<uint32_t>(static_cast<int>(y)) * 19349663u ^ seed * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xFFFF) / 32767.5 - 1.0;
}

Rgb Hue(double h) {
    const double r = std::clamp(std::fabs(h * 6 - 3) - 1, 0.0, 1.0);
    const double g = std::clamp(2 - std::fabs(h * 6 - 2), 0.0, 1.0);
    const double b = std::clamp(2 - std::fabs(h * 6 - 4), 0.0, 1.0);
    return {static_cast<float>(0.1 + 0.8 * r), static_cast<float>(0.1 + 0.8 * g),
            static_cast<float>(0.1 + 0.8 * b)};
}

// ---- top row -------------------------------------------------------------

void Star(Canvas& c) {
    const double cx = 150, cy = 140, radius = 120;
    c.Fill(Around(cx, cy, radius + 6), Ellipse(cx, cy, radius + 6, radius + 6), kWhite);
    const Inside spokes = [=](double x, double y) {
        const double r = std::hypot(x - cx, y - cy);
        return r <= radius && r >= 2.5 && std::sin(36 * std::atan2(y - cy, x - cx)) > 0;
    };
    c.Fill(Around(cx, cy, radius), spokes, kBlack);
}

// Groups of five bars at periods from 2 to 10 px: vertical bars above,
// horizontal below.
void Bars(Canvas& c) {
    const Box area{300, 20, 700, 260};
    c.Fill(area, Rect(area), kWhite);
    double x = 312;
    for (const double period : {2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0}) {
        const double width = 5 * period;
        for (int i = 0; i < 5; ++i) {
            const Box bar{x + i * period, 32, x + i * period + period / 2, 128};
            c.Fill(bar, Rect(bar), kBlack);
            const Box across{x, 150 + i * period, x + std::max(width, 30.0), 150 + i * period + period / 2};
            c.Fill(across, Rect(across), kBlack);
        }
        x += std::max(width, 30.0) + 12;
    }
    // A sine grating whose period falls from 8 to 2 px.
    const Box chirp{312, 212, 688, 248};
    c.Shade(chirp, Rect(chirp), [](double px, double) {
        const double t = (px - 312) / 376;
        const double phase = 2 * kPi * (px - 312) / (8 - 6 * t);
        return Mix(kBlack, kWhite, 0.5 + 0.5 * std::sin(phase));
    });
}

void TextBlock(Canvas& c) {
    double baseline = 36;
    uint32_t seed = 11;
    for (const double xh : {4.0, 5.0, 6.0, 8.0, 10.0, 13.0, 16.0}) {
        WriteLine(c, 724, baseline, 1180, Pen{xh, kInk}, seed++);
        baseline += xh * 2.2 + 3;
    }
    WriteLine(c, 724, baseline, 1180, Pen{8, {0.72f, 0.08f, 0.10f}}, seed++);
    const Box panel{716, baseline + 10, 1188, 270};
    c.Fill(panel, Rect(panel), {0.10f, 0.14f, 0.32f});
    WriteLine(c, 724, baseline + 29, 1180, Pen{7, kWhite}, seed++);
    WriteLine(c, 724, baseline + 58, 1180, Pen{10, {0.95f, 0.85f, 0.30f}}, seed);
}

// ---- middle row ----------------------------------------------------------

void EdgesAndLines(Canvas& c) {
    const Box target{20, 296, 200, 504};
    c.Fill(target, Rect(target), kWhite);
    c.Fill(Around(110, 400, 90), TurnedRect(110, 400, 58, 58, 5 * kPi / 180), kBlack);
    // Thin dark lines on light paper, nearly horizontal, 0.5 to 3 px wide.
    const Box light{216, 296, 432, 396};
    c.Fill(light, Rect(light), kWhite);
    double y = 306;
    for (const double w : {0.5, 0.75, 1.0, 1.5, 2.0, 3.0}) {
        c.Fill({220, y - 10, 430, y + 10}, Stroke(222, y, 428, y + 6, w), kBlack);
        y += 14;
    }
    // Light lines on a dark ground.
    const Box dark{216, 404, 432, 504};
    c.Fill(dark, Rect(dark), {0.12f, 0.12f, 0.13f});
    y = 416;
    for (const double w : {0.5, 1.0, 1.5, 2.0, 3.0}) {
        c.Fill({220, y - 10, 430, y + 10}, Stroke(222, y + 6, 428, y, w), kWhite);
        y += 18;
    }
}

void Face(Canvas& c, double cx, double cy, double rx, double ry, Rgb skin, uint32_t seed);

// The detail area: a little of everything at the image's centre. Its parts
// reach 8 px beyond it, so a crop of exactly the area holds no edge of its
// surroundings for a filter to make a frame of.
void DetailArea(Canvas& c) {
    const Box textArea{432, 272, 600, 400};
    c.Fill(textArea, Rect(textArea), {0.90f, 0.89f, 0.86f});
    WriteLine(c, 446, 298, 596, Pen{5, kInk}, 101);
    WriteLine(c, 446, 316, 596, Pen{6, kInk}, 102);
    WriteLine(c, 446, 338, 596, Pen{8, kInk}, 103);
    WriteLine(c, 446, 366, 596, Pen{11, kInk}, 104);
    c.Fill({444, 380, 598, 392}, Stroke(446, 386, 596, 389, 0.8), kInk);

    // A slanted edge, 8 degrees from the vertical, dark to the left, with a
    // pair of thin lines 3 px apart across the light side and a highlight on
    // the dark side.
    const Box edgeArea{600, 272, 768, 400};
    c.Fill(edgeArea, Rect(edgeArea), {0.86f, 0.85f, 0.83f});
    const double slope = std::tan(8 * kPi / 180);
    c.Fill(edgeArea, [=](double x, double y) { return x < 660 + (y - 280) * slope; }, {0.16f, 0.15f, 0.15f});
    c.Fill({680, 300, 760, 330}, Stroke(684, 306, 758, 322, 1.0), kBlack);
    c.Fill({680, 303, 760, 333}, Stroke(684, 309, 758, 325, 1.0), kBlack);
    c.Fill({610, 330, 660, 350}, Stroke(614, 340, 650, 336, 1.2), {0.98f, 0.97f, 0.95f});
    c.Fill(Around(630, 375, 4), Ellipse(630, 375, 2.5, 2.5), {0.98f, 0.97f, 0.95f});

    const Box faceArea{432, 400, 600, 528};
    c.Shade(faceArea, Rect(faceArea), [](double, double y) {
        return Mix(Rgb{0.30f, 0.42f, 0.46f}, Rgb{0.22f, 0.32f, 0.36f}, (y - 400) / 120);
    });
    Face(c, 520, 468, 52, 64, {0.86f, 0.66f, 0.54f}, 7);

    const Box skyArea{600, 400, 768, 528};
    c.Shade(skyArea, Rect(skyArea), [](double x, double y) {
        const double cloud = std::exp(-(std::pow((x - 690) / 40, 2) + std::pow((y - 425) / 12, 2)));
        return Mix(Mix(Rgb{0.40f, 0.58f, 0.84f}, Rgb{0.80f, 0.87f, 0.95f}, (y - 400) / 90), kWhite,
                   0.8 * cloud);
    });
    c.Fill({600, 400, 760, 470}, Stroke(606, 468, 700, 414, 1.0), {0.18f, 0.14f, 0.10f});
    c.Fill({640, 400, 720, 460}, Stroke(660, 441, 684, 418, 0.7), {0.18f, 0.14f, 0.10f});
    const Box red{600, 478, 690, 528};
    c.Fill(red, Rect(red), {0.80f, 0.07f, 0.09f});
    const Box blue{690, 478, 768, 528};
    c.Fill(blue, Rect(blue), {0.09f, 0.18f, 0.68f});
    c.Fill(Around(690, 499, 16), Ellipse(690, 499, 14, 14), {0.98f, 0.82f, 0.10f});
}

void Patches(Canvas& c) {
    const Rgb colours[6] = {{0.82f, 0.08f, 0.10f}, {0.10f, 0.62f, 0.16f}, {0.10f, 0.20f, 0.72f},
                            {0.95f, 0.84f, 0.08f}, {0.05f, 0.66f, 0.78f}, {0.76f, 0.10f, 0.62f}};
    for (int i = 0; i < 6; ++i) {
        const double x = 780 + (i % 3) * 134.0;
        const double y = 296 + (i / 3) * 60.0;
        const Box patch{x, y, x + 134, y + 60};
        c.Fill(patch, Rect(patch), colours[i]);
    }
    for (int i = 0; i <= 10; ++i) {
        const double x = 780 + i * 402.0 / 11;
        const Box step{x, 432, x + 402.0 / 11, 504};
        const auto v = static_cast<float>(0.03 + 0.94 * i / 10);
        c.Fill(step, Rect(step), {v, v, v});
    }
}

// ---- bottom row ----------------------------------------------------------

// A face-like oval lit from the upper left, with fine skin texture, an eye
// with a catchlight, a mouth, and fine dark hair over its top.
void Face(Canvas& c, double cx, double cy, double rx, double ry, Rgb skin, uint32_t seed) {
    c.Shade(Around(cx, cy, std::max(rx, ry)), Ellipse(cx, cy, rx, ry), [=](double x, double y) {
        const double u = (x - cx + 0.35 * rx) / rx;
        const double v = (y - cy + 0.35 * ry) / ry;
        const double light = 1.08 - 0.32 * std::min(1.0, std::sqrt(u * u + v * v) / 1.3);
        return Scaled(skin, light + 0.012 * Grain(x, y, seed));
    });
    const Rgb dark = Scaled(skin, 0.28);
    c.Fill(Around(cx - 0.38 * rx, cy - 0.12 * ry, 8),
           Ellipse(cx - 0.38 * rx, cy - 0.12 * ry, 0.16 * rx, 0.07 * ry), dark);
    c.Fill(Around(cx + 0.38 * rx, cy - 0.12 * ry, 8),
           Ellipse(cx + 0.38 * rx, cy - 0.12 * ry, 0.16 * rx, 0.07 * ry), dark);
    c.Fill(Around(cx - 0.35 * rx, cy - 0.13 * ry, 2), Ellipse(cx - 0.35 * rx, cy - 0.13 * ry, 1.2, 1.2),
           kWhite);
    c.Fill(Around(cx, cy + 0.45 * ry, rx * 0.3),
           Arc(cx, cy + 0.2 * ry, 0.3 * rx, -kPi * 0.8, -kPi * 0.2, 1.6), Scaled(skin, 0.62));
    Dice dice(seed);
    for (int i = 0; i < 40; ++i) {
        const double a = kPi * (0.15 + 0.7 * dice.Unit());
        const double r0 = 0.75 + 0.2 * dice.Unit();
        const double x0 = cx + std::cos(a) * rx * r0;
        const double y0 = cy - std::sin(a) * ry * r0;
        const double x1 = cx + std::cos(a + 0.25) * rx * 1.08;
        const double y1 = cy - std::sin(a + 0.25) * ry * 1.08;
        const double w = 0.6 + 0.5 * dice.Unit();
        c.Fill({std::min(x0, x1) - 2, std::min(y0, y1) - 2, std::max(x0, x1) + 2, std::max(y0, y1) + 2},
               Stroke(x0, y0, x1, y1, w), {0.16f, 0.10f, 0.07f});
    }
}

void Portraits(Canvas& c) {
    const Box area{0, 528, 432, 800};
    c.Shade(area, Rect(area), [](double x, double) {
        return Mix(Rgb{0.55f, 0.52f, 0.47f}, Rgb{0.35f, 0.33f, 0.30f}, x / 440);
    });
    Face(c, 80, 670, 58, 80, {0.94f, 0.78f, 0.68f}, 21);
    Face(c, 220, 660, 58, 80, {0.80f, 0.57f, 0.42f}, 22);
    Face(c, 360, 670, 58, 80, {0.47f, 0.31f, 0.22f}, 23);
}

void Gradients(Canvas& c) {
    const Box grey{460, 540, 1180, 596};
    c.Shade(grey, Rect(grey), [](double x, double) {
        const auto v = static_cast<float>((x - 460) / 720);
        return Rgb{v, v, v};
    });
    const Box hue{460, 606, 1180, 660};
    c.Shade(hue, Rect(hue),
            [](double x, double y) { return Mix(Hue((x - 460) / 720), kWhite, (y - 606) / 80); });
    const Box sky{460, 670, 1180, 790};
    c.Shade(sky, Rect(sky), [](double x, double y) {
        double cloud = std::exp(-(std::pow((x - 640) / 70, 2) + std::pow((y - 700) / 14, 2)));
        cloud += 0.7 * std::exp(-(std::pow((x - 900) / 50, 2) + std::pow((y - 690) / 10, 2)));
        return Mix(Mix(Rgb{0.36f, 0.54f, 0.82f}, Rgb{0.78f, 0.85f, 0.94f}, (y - 670) / 90), kWhite,
                   0.85 * cloud);
    });
    // Hills with a soft edge, then a bare tree against the sky.
    c.Shade(
        sky,
        [](double x, double y) { return y > 762 - 14 * std::sin((x - 460) / 60) - 6 * std::sin(x / 17); },
        [](double x, double y) {
            return Mix(Rgb{0.28f, 0.38f, 0.20f}, Rgb{0.18f, 0.25f, 0.13f},
                       (y - 740) / 50 + 0.05 * Grain(x, y, 5));
        });
    const Rgb bark{0.14f, 0.11f, 0.09f};
    Dice dice(77);
    struct Branch {
        double x, y, angle, length, width;
    };
    std::vector<Branch> branches{{1080, 770, kPi / 2, 40, 3.0}};
    for (size_t i = 0; i < branches.size() && branches.size() < 120; ++i) {
        const Branch b = branches[i];
        const double x1 = b.x + std::cos(b.angle) * b.length;
        const double y1 = b.y - std::sin(b.angle) * b.length;
        c.Fill({std::min(b.x, x1) - 3, std::min(b.y, y1) - 3, std::max(b.x, x1) + 3, std::max(b.y, y1) + 3},
               Stroke(b.x, b.y, x1, y1, b.width), bark);
        if (b.length > 6) {
            for (const double turn : {-0.45, 0.4}) {
                branches.push_back({x1, y1, b.angle + turn + 0.2 * (dice.Unit() - 0.5),
                                    b.length * (0.62 + 0.1 * dice.Unit()), std::max(0.5, b.width * 0.68)});
            }
        }
    }
}

} // namespace

Canvas DrawScene() {
    Canvas canvas(kChartWidth, kChartHeight, kPaper);
    Star(canvas);
    Bars(canvas);
    TextBlock(canvas);
    EdgesAndLines(canvas);
    DetailArea(canvas);
    Patches(canvas);
    Portraits(canvas);
    Gradients(canvas);
    return canvas;
}

} // namespace vtools::chart
