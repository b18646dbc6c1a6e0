#include "resources/images/ChartCanvas.h"

#include <algorithm>
#include <cmath>

namespace vtools::chart {

namespace {

constexpr int kSamples = 4; // per pixel side
constexpr double kPi = 3.14159265358979323846;

// The share of a pixel's samples inside the shape.
float Coverage(const Inside& inside, int x, int y) {
    int hits = 0;
    for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
            hits += inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples) ? 1 : 0;
        }
    }
    return static_cast<float>(hits) / (kSamples * kSamples);
}

double AngleDifference(double a, double from) {
    double d = std::fmod(a - from, 2 * kPi);
    return d < 0 ? d + 2 * kPi : d;
}

} // namespace

Canvas::Canvas(int width, int height, Rgb paper)
    : width_(width), height_(height), values_(static_cast<size_t>(width) * height * 3) {
    for (size_t i = 0; i < values_.size(); i += 3) {
        values_[i] = paper.r;
        values_[i + 1] = paper.g;
        values_[i + 2] = paper.b;
    }
}

void Canvas::Fill(const Box& box, const Inside& inside, Rgb colour) {
    Shade(box, inside, [colour](double, double) { return colour; });
}

void Canvas::Shade(const Box& box, const Inside& inside, const ColourAt& colour) {
    const int x0 = std::max(0, static_cast<int>(std::floor(box.left)));
    const int y0 = std::max(0, static_cast<int>(std::floor(box.top)));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(box.right)));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(box.bottom)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float cover = Coverage(inside, x, y);
            if (cover == 0) {
                continue;
            }
            const Rgb c = colour(x + 0.5, y + 0.5);
            float* p = &values_[(static_cast<size_t>(y) * width_ + x) * 3];
            p[0] += cover * (c.r - p[0]);
            p[1] += cover * (c.g - p[1]);
            p[2] += cover * (c.b - p[2]);
        }
    }
}

Rgb Canvas::At(int x, int y) const {
    const float* p = &values_[(static_cast<size_t>(y) * width_ + x) * 3];
    return {p[0], p[1], p[2]};
}

Inside Stroke(double x0, double y0, double x1, double y1, double width) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double length2 = std::max(dx * dx + dy * dy, 1e-12);
    const double half2 = width * width / 4;
    return [=](double x, double y) {
        const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0, 1.0);
        const double ex = x - (x0 + t * dx);
        const double ey = y - (y0 + t * dy);
        return ex * ex + ey * ey <= half2;
    };
}

Inside Arc(double cx, double cy, double radius, double a0, double a1, double width) {
    const double span = AngleDifference(a1, a0);
    const bool full = std::fabs(a1 - a0) >= 2 * kPi - 1e-9;
    return [=](double x, double y) {
        const double dx = x - cx;
        const double dy = cy - y; // up is positive
        if (std::fabs(std::hypot(dx, dy) - radius) > width / 2) {
            return false;
        }
        return full || AngleDifference(std::atan2(dy, dx), a0) <= span;
    };
}

Inside Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double u = (x - cx) / rx;
        const double v = (y - cy) / ry;
        return u * u + v * v <= 1;
    };
}

Inside TurnedRect(double cx, double cy, double hw, double hh, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return [=](double x, double y) {
        const double dx = x - cx;
        const double dy = cy - y;
        const double u = dx * c + dy * s;
        const double v = -dx * s + dy * c;
        return std::fabs(u) <= hw && std::fabs(v) <= hh;
    };
}

Inside Rect(const Box& box) {
    return [box](double x, double y) {
        return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
    };
}

Box Around(double cx, double cy, double reach) {
    return {cx - reach - 1, cy - reach - 1, cx + reach + 1, cy + reach + 1};
}

uint32_t Dice::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Dice::Unit() {
    return (Next() >> 8) / static_cast<double>(1u << 24);
}

double Dice::Normal() {
    const double u = std::max(Unit(), 1e-12);
    const double v = Unit();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * kPi * v);
}

} // namespace vtools::chart
