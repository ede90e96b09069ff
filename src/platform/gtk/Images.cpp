// Image decoding with gdk-pixbuf.
#include "platform/Images.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstring>

namespace Platform {

bool DecodeImage(std::span<const std::uint8_t> bytes, TBitmap& bitmap) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    const bool written = gdk_pixbuf_loader_write(loader, bytes.data(), bytes.size(), nullptr) != FALSE;
    const bool closed = gdk_pixbuf_loader_close(loader, nullptr) != FALSE;
    GdkPixbuf* decoded = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    // Eight bits per channel with alpha, whatever the file had.
    GdkPixbuf* pixbuf = nullptr;
    if (decoded)
        pixbuf = gdk_pixbuf_get_has_alpha(decoded) ? GDK_PIXBUF(g_object_ref(decoded))
                                                   : gdk_pixbuf_add_alpha(decoded, FALSE, 0, 0, 0);
    g_object_unref(loader);
    if (!pixbuf) return false;
    const bool usable = gdk_pixbuf_get_bits_per_sample(pixbuf) == 8 && gdk_pixbuf_get_n_channels(pixbuf) == 4;
    if (usable) {
        const int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
        const int stride = gdk_pixbuf_get_rowstride(pixbuf);
        const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
        const size_t row = static_cast<size_t>(width) * 4;
        bitmap.Rgba.resize(row * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            std::memcpy(bitmap.Rgba.data() + row * static_cast<size_t>(y),
                        pixels + static_cast<ptrdiff_t>(stride) * y, row);
        bitmap.Width = width;
        bitmap.Height = height;
    }
    g_object_unref(pixbuf);
    return usable;
}

} // namespace Platform
