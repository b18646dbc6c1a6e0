#include "host/manual/Sample.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "host/manual/ManualError.h"

namespace vhost::manual {

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 240;
// The crop: the building's edge and windows, the sign's print, a wire, the
// fence's top and the ball's rim.
constexpr CropArea kCrop{124, 106, 112, 52};
// A camera's softness and noise.
constexpr double kSoftness = 0.6; // Gaussian sigma, pixels
constexpr int kNoise = 3;         // at most this many levels either way

struct CairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};

// A fixed sequence of pseudo-random numbers: the same scene every time.
class Dice {
public:
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double Unit() { return (Next() >> 8) / double(1u << 24); }

private:
    uint32_t state_ = 0x9E3779B9u;
};

void Rgb(cairo_t* cr, double r, double g, double b) {
    cairo_set_source_rgb(cr, r, g, b);
}

void Sky(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 150);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.42, 0.60, 0.85);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.86, 0.90, 0.95);
    cairo_set_source(cr, sky);
    cairo_rectangle(cr, 0, 0, kWidth, 150);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
}

void Grass(cairo_t* cr, Dice& dice) {
    Rgb(cr, 0.30, 0.45, 0.18);
    cairo_rectangle(cr, 0, 150, kWidth, kHeight - 150);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    for (int i = 0; i < 1400; ++i) {
        const double x = std::floor(dice.Unit() * kWidth) + 0.5;
        const double y = 150 + dice.Unit() * (kHeight - 150);
        const double shade = dice.Unit();
        Rgb(cr, 0.18 + 0.3 * shade, 0.32 + 0.3 * shade, 0.10 + 0.15 * shade);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + (dice.Unit() - 0.5) * 2, y - 2 - dice.Unit() * 4);
        cairo_stroke(cr);
    }
}

void Skin(cairo_t* cr) {
    cairo_pattern_t* skin = cairo_pattern_create_radial(300, 62, 4, 310, 72, 48);
    cairo_pattern_add_color_stop_rgb(skin, 0, 0.93, 0.76, 0.64);
    cairo_pattern_add_color_stop_rgb(skin, 1, 0.74, 0.54, 0.44);
    cairo_set_source(cr, skin);
    cairo_save(cr);
    cairo_translate(cr, 310, 72);
    cairo_scale(cr, 36, 46);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(skin);
}

void Building(cairo_t* cr) {
    Rgb(cr, 0.45, 0.16, 0.12);
    cairo_move_to(cr, 14, 50);
    cairo_line_to(cr, 83, 18);
    cairo_line_to(cr, 152, 50);
    cairo_close_path(cr);
    cairo_fill(cr);
    Rgb(cr, 0.35, 0.33, 0.36);
    cairo_rectangle(cr, 20, 50, 126, 140);
    cairo_fill(cr);
    for (int y = 58; y + 7 <= 182; y += 14) {
        for (int x = 27; x + 5 <= 142; x += 10) {
            Rgb(cr, 0.12, 0.11, 0.13);
            cairo_rectangle(cr, x - 1, y - 1, 7, 9);
            cairo_fill(cr);
            Rgb(cr, 0.93, 0.86, 0.55);
            cairo_rectangle(cr, x, y, 5, 7);
            cairo_fill(cr);
        }
    }
}

void Wire(cairo_t* cr) {
    Rgb(cr, 0.08, 0.08, 0.10);
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, 100, 121);
    cairo_curve_to(cr, 180, 112, 260, 100, 360, 92);
    cairo_stroke(cr);
}

void Sign(cairo_t* cr) {
    Rgb(cr, 0.22, 0.18, 0.14);
    cairo_rectangle(cr, 158, 138, 4, 34);
    cairo_rectangle(cr, 206, 138, 4, 34);
    cairo_fill(cr);
    Rgb(cr, 0.97, 0.97, 0.95);
    cairo_rectangle(cr, 150, 108, 68, 32);
    cairo_fill_preserve(cr);
    Rgb(cr, 0.1, 0.1, 0.1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 10);
    cairo_move_to(cr, 154, 122);
    cairo_show_text(cr, "HONED");
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 7);
    cairo_move_to(cr, 154, 134);
    cairo_show_text(cr, "edges at 1:1");
}

void Fence(cairo_t* cr) {
    cairo_set_line_width(cr, 1);
    for (int x = 222; x < kWidth; x += 6) {
        Rgb(cr, 0.78, 0.68, 0.52);
        cairo_rectangle(cr, x, 152, 3, 30);
        cairo_fill_preserve(cr);
        Rgb(cr, 0.30, 0.24, 0.18);
        cairo_stroke(cr);
    }
    Rgb(cr, 0.55, 0.45, 0.33);
    cairo_rectangle(cr, 146, 158, kWidth - 146, 3);
    cairo_rectangle(cr, 146, 172, kWidth - 146, 3);
    cairo_fill(cr);
}

void Ball(cairo_t* cr) {
    cairo_pattern_t* ball = cairo_pattern_create_radial(238, 122, 2, 244, 130, 20);
    cairo_pattern_add_color_stop_rgb(ball, 0, 1.0, 0.75, 0.70);
    cairo_pattern_add_color_stop_rgb(ball, 0.35, 0.85, 0.12, 0.10);
    cairo_pattern_add_color_stop_rgb(ball, 1, 0.45, 0.04, 0.05);
    cairo_set_source(cr, ball);
    cairo_arc(cr, 244, 130, 20, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(ball);
}

// The drawn scene as RGB bytes.
RgbPicture Draw() {
    std::unique_ptr<cairo_surface_t, CairoDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight));
    std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
    Dice dice;
    Sky(cr.get());
    Skin(cr.get());
    Grass(cr.get(), dice);
    Building(cr.get());
    Wire(cr.get());
    Fence(cr.get());
    Sign(cr.get());
    Ball(cr.get());
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
        throw ManualError(std::string("cannot draw the test scene: ") +
                          cairo_status_to_string(cairo_status(cr.get())));
    }
    cairo_surface_flush(surface.get());
    RgbPicture picture{kWidth, kHeight, std::vector<uint8_t>(size_t(kWidth) * kHeight * 3)};
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + ptrdiff_t(y) * stride);
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* out = &picture.rgb[(size_t(y) * kWidth + size_t(x)) * 3];
            out[0] = uint8_t(row[x] >> 16);
            out[1] = uint8_t(row[x] >> 8);
            out[2] = uint8_t(row[x]);
        }
    }
    return picture;
}

// A Gaussian of sigma kSoftness across and then down, edges repeated; then
// the noise.
void Soften(RgbPicture& picture, Dice& dice) {
    constexpr int reach = 2;
    double weights[2 * reach + 1];
    double sum = 0;
    for (int i = -reach; i <= reach; ++i) {
        weights[i + reach] = std::exp(-i * i / (2 * kSoftness * kSoftness));
        sum += weights[i + reach];
    }
    const int w = picture.width, h = picture.height;
    std::vector<double> across(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                double v = 0;
                for (int i = -reach; i <= reach; ++i) {
                    const int xi = std::clamp(x + i, 0, w - 1);
                    v += weights[i + reach] * picture.rgb[(size_t(y) * w + xi) * 3 + c];
                }
                across[(size_t(y) * w + x) * 3 + c] = v / sum;
            }
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                double v = 0;
                for (int i = -reach; i <= reach; ++i) {
                    const int yi = std::clamp(y + i, 0, h - 1);
                    v += weights[i + reach] * across[(size_t(yi) * w + x) * 3 + c];
                }
                const int noise = int(dice.Next() % (2 * kNoise + 1)) - kNoise;
                picture.rgb[(size_t(y) * w + x) * 3 + c] =
                    uint8_t(std::clamp(int(std::lround(v / sum)) + noise, 0, 255));
            }
        }
    }
}

} // namespace

ManualSample DrawTestScene() {
    ManualSample sample;
    sample.picture = Draw();
    Dice noise;
    noise.Next();
    Soften(sample.picture, noise);
    sample.crop = kCrop;
    sample.description = "a test scene drawn for this manual, soft and slightly noisy as a camera leaves "
                         "its pictures: a building with a grid of windows, a sign with small print, a "
                         "wire, a fence and a ball";
    return sample;
}

ManualSample LoadManualSample() {
    return DrawTestScene();
}

} // namespace vhost::manual
