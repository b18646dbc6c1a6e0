#include "resources/images/ChartText.h"

#include <algorithm>
#include <vector>

namespace vtools::chart {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Stroke width, letter gap and word gap in x-heights.
constexpr double kStrokeWidth = 0.16;
constexpr double kLetterGap = 0.28;
constexpr double kWordGap = 0.9;

// One stroke of a letter in x-height units, v upwards from the baseline:
// a segment (u0, v0)-(u1, v1), or an arc about (u0, v0) of radius r from
// angle a0 to a1.
struct Mark {
    bool arc = false;
    double u0, v0, u1, v1;
    double r = 0, a0 = 0, a1 = 0;
};

struct Letter {
    double width;
    std::vector<Mark> marks;
};

Mark Seg(double u0, double v0, double u1, double v1) {
    return {false, u0, v0, u1, v1};
}
Mark Bow(double cu, double cv, double r, double a0, double a1) {
    return {true, cu, cv, 0, 0, r, a0, a1};
}

const std::vector<Letter>& Alphabet() {
    static const std::vector<Letter> letters = {
        {0.75, {Bow(0.37, 0.5, 0.37, 0, 2 * kPi)}},
        {0.2, {Seg(0.1, 0, 0.1, 1.5)}},
        {0.75, {Seg(0.07, 0, 0.07, 1), Bow(0.37, 0.62, 0.3, 0, kPi), Seg(0.67, 0.62, 0.67, 0)}},
        {0.2, {Seg(0.1, 0, 0.1, 1), Seg(0.1, 1.32, 0.1, 1.34)}},
        {0.65, {Seg(0, 1, 0.32, 0), Seg(0.32, 0, 0.64, 1)}},
        {0.65, {Seg(0, 0, 0.62, 1), Seg(0, 1, 0.62, 0)}},
        {0.7, {Bow(0.38, 0.5, 0.38, 0.75, 2 * kPi - 0.75)}},
        {0.75, {Bow(0.38, 0.5, 0.38, 0, 2 * kPi - 0.7), Seg(0.02, 0.5, 0.74, 0.5)}},
        {0.55, {Seg(0.22, 0.05, 0.22, 1.35), Seg(0, 1, 0.52, 1)}},
        {0.75, {Seg(0.07, 1, 0.07, 0.4), Bow(0.37, 0.38, 0.3, kPi, 2 * kPi), Seg(0.67, 0.38, 0.67, 1)}},
        {0.55, {Seg(0.07, 0, 0.07, 1), Seg(0.07, 0.65, 0.33, 0.97), Seg(0.33, 0.97, 0.55, 0.92)}},
        {0.75, {Seg(0.07, 0, 0.07, 1.5), Bow(0.37, 0.62, 0.3, 0, kPi), Seg(0.67, 0.62, 0.67, 0)}},
        {0.8, {Bow(0.37, 0.5, 0.37, 0, 2 * kPi), Seg(0.76, 0, 0.76, 1.5)}},
        {0.8, {Bow(0.42, 0.5, 0.37, 0, 2 * kPi), Seg(0.05, 1, 0.05, -0.5)}},
        {0.62, {Seg(0.07, 0, 0.07, 1.5), Seg(0.07, 0.4, 0.58, 1), Seg(0.3, 0.62, 0.6, 0)}},
        {0.62, {Seg(0, 1, 0.6, 1), Seg(0.6, 1, 0, 0), Seg(0, 0, 0.6, 0)}},
        {1.15,
         {Seg(0.07, 0, 0.07, 1), Bow(0.3, 0.66, 0.24, 0, kPi), Seg(0.54, 0.66, 0.54, 0),
          Bow(0.78, 0.66, 0.24, 0, kPi), Seg(1.02, 0.66, 1.02, 0)}},
        {0.75, {Seg(0.07, 0, 0.07, 1.5), Bow(0.37, 0.5, 0.32, 0, 2 * kPi)}},
    };
    return letters;
}

void Draw(Canvas& canvas, const Mark& m, double x, double baseline, const Pen& pen) {
    const double s = pen.xHeight;
    const double width = std::max(kStrokeWidth * s, 0.7);
    if (m.arc) {
        const double cx = x + m.u0 * s;
        const double cy = baseline - m.v0 * s;
        const double radius = m.r * s;
        canvas.Fill(Around(cx, cy, radius + width), Arc(cx, cy, radius, m.a0, m.a1, width), pen.ink);
        return;
    }
    const double x0 = x + m.u0 * s;
    const double y0 = baseline - m.v0 * s;
    const double x1 = x + m.u1 * s;
    const double y1 = baseline - m.v1 * s;
    const Box box{std::min(x0, x1) - width - 1, std::min(y0, y1) - width - 1, std::max(x0, x1) + width + 1,
                  std::max(y0, y1) + width + 1};
    canvas.Fill(box, Stroke(x0, y0, x1, y1, width), pen.ink);
}

} // namespace

void WriteLine(Canvas& canvas, double left, double baseline, double right, const Pen& pen, uint32_t seed) {
    Dice dice(seed);
    const std::vector<Letter>& alphabet = Alphabet();
    double x = left;
    while (true) {
        const int length = 2 + static_cast<int>(dice.Next() % 6);
        std::vector<const Letter*> word;
        double wordWidth = 0;
        for (int i = 0; i < length; ++i) {
            word.push_back(&alphabet[dice.Next() % alphabet.size()]);
            wordWidth += (word.back()->width + kLetterGap) * pen.xHeight;
        }
        if (x + wordWidth > right) {
            return;
        }
        for (const Letter* letter : word) {
            for (const Mark& mark : letter->marks) {
                Draw(canvas, mark, x, baseline, pen);
            }
            x += (letter->width + kLetterGap) * pen.xHeight;
        }
        x += kWordGap * pen.xHeight;
    }
}

} // namespace vtools::chart
