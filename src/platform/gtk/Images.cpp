// Image decoding with gdk-pixbuf.
#include "platform/Images.h"

#include <cstring>

#include "platform/gtk/Pixbufs.h"

namespace Platform {

GdkPixbuf* DecodePixbuf(const void* data, std::size_t size, std::string* reason) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GError* error = nullptr;
    // A failed write closes the loader itself.
    const bool decoded = gdk_pixbuf_loader_write(loader, static_cast<const guchar*>(data), size, &error) &&
                         gdk_pixbuf_loader_close(loader, &error);
    GdkPixbuf* pixbuf = decoded ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    if (pixbuf) g_object_ref(pixbuf);
    g_object_unref(loader);
    if (reason) *reason = error ? error->message : "no picture in the data";
    if (error) g_error_free(error);
    return pixbuf;
}

bool DecodeImage(std::span<const std::uint8_t> bytes, TBitmap& bitmap) {
    GdkPixbuf* decoded = DecodePixbuf(bytes.data(), bytes.size());
    if (!decoded) return false;
    // Eight bits per channel with alpha, whatever the file had.
    GdkPixbuf* pixbuf =
        gdk_pixbuf_get_has_alpha(decoded) ? decoded : gdk_pixbuf_add_alpha(decoded, FALSE, 0, 0, 0);
    if (pixbuf != decoded) g_object_unref(decoded);
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
