#include "tests/dialogs/DecodedPicture.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace vlh::dialogs {

std::optional<DecodedPicture> DecodePicture(const uint8_t* bytes, size_t size) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    const bool written = gdk_pixbuf_loader_write(loader, bytes, size, nullptr) != FALSE;
    const bool closed = gdk_pixbuf_loader_close(loader, nullptr) != FALSE;
    GdkPixbuf* pixbuf = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    std::optional<DecodedPicture> picture;
    if (pixbuf != nullptr && gdk_pixbuf_get_bits_per_sample(pixbuf) == 8) {
        picture.emplace();
        picture->width = gdk_pixbuf_get_width(pixbuf);
        picture->height = gdk_pixbuf_get_height(pixbuf);
        const int channels = gdk_pixbuf_get_n_channels(pixbuf);
        const int stride = gdk_pixbuf_get_rowstride(pixbuf);
        const guchar* data = gdk_pixbuf_read_pixels(pixbuf);
        for (int y = 0; y < picture->height; ++y) {
            for (int x = 0; x < picture->width; ++x) {
                const guchar* p = data + y * stride + x * channels;
                picture->pixels.push_back(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
            }
        }
    }
    g_object_unref(loader);
    return picture;
}

} // namespace vlh::dialogs
