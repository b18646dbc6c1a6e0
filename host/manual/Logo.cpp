#include "host/manual/Logo.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <string>

#include "host/manual/ManualError.h"

namespace vhost::manual {

// Made by cmake/EmbedBytes.cmake from resources/about/VellicorLogo.bmp.
extern const unsigned char kManualLogo[];
extern const uint32_t kManualLogoSize;

namespace {

std::string Failure(GError* error) {
    std::string why = error != nullptr ? error->message : "unknown reason";
    g_clear_error(&error);
    return "cannot decode the logo: " + why;
}

} // namespace

RgbPicture LoadLogo() {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GError* error = nullptr;
    if (!gdk_pixbuf_loader_write(loader, kManualLogo, kManualLogoSize, &error) ||
        !gdk_pixbuf_loader_close(loader, &error)) {
        gdk_pixbuf_loader_close(loader, nullptr);
        g_object_unref(loader);
        throw ManualError(Failure(error));
    }
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader); // owned by the loader
    if (pixbuf == nullptr || gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8) {
        g_object_unref(loader);
        throw ManualError("cannot decode the logo: not an 8-bit RGB picture");
    }
    RgbPicture out;
    out.width = gdk_pixbuf_get_width(pixbuf);
    out.height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    out.rgb.reserve(size_t(out.width) * size_t(out.height) * 3);
    for (int y = 0; y < out.height; ++y) {
        const guchar* row = pixels + ptrdiff_t(y) * stride;
        for (int x = 0; x < out.width; ++x) {
            out.rgb.insert(out.rgb.end(), row + ptrdiff_t(x) * channels, row + ptrdiff_t(x) * channels + 3);
        }
    }
    g_object_unref(loader);
    return out;
}

} // namespace vhost::manual
