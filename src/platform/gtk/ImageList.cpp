// Image collections and lists over GdkPixbuf: PNG sources decoded on first use, scaled to the
// list's size and greyed for the disabled versions.
#include "platform/ImageList.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include "platform/ImageListSources.h"
#include "platform/gtk/Pixbufs.h"

namespace Platform {

void TSizedImageList::ClearPictures() {
    for (auto& entry : FPictures)
        if (entry.second) g_object_unref(entry.second);
    FPictures.clear();
}

void* TSizedImageList::Picture(int index, bool disabled, int scale) const {
    if (!FCollection || index < 0 || index >= Count()) return nullptr;
    scale = std::max(1, scale);
    const auto key = std::make_pair(Name(index, disabled), scale);
    if (auto found = FPictures.find(key); found != FPictures.end()) return found->second;

    const int item = FCollection->IndexOf(FNames[static_cast<std::size_t>(index)]);
    const int width = FWidth * scale, height = FHeight * scale;
    const std::string_view source = FCollection->Source(item, FCollection->SourceWidthFor(item, width));
    GdkPixbuf* picture = DecodePixbuf(source.data(), source.size());
    if (picture && (gdk_pixbuf_get_width(picture) != width || gdk_pixbuf_get_height(picture) != height)) {
        GdkPixbuf* scaled = gdk_pixbuf_scale_simple(picture, width, height, GDK_INTERP_HYPER);
        g_object_unref(picture);
        picture = scaled;
    }
    if (picture && disabled) {
        // Grey and faded, as disabled pictures usually look.
        GdkPixbuf* grey = gdk_pixbuf_add_alpha(picture, FALSE, 0, 0, 0);
        g_object_unref(picture);
        picture = grey;
        if (grey) {
            gdk_pixbuf_saturate_and_pixelate(grey, grey, 0.0f, FALSE);
            guchar* pixels = gdk_pixbuf_get_pixels(grey);
            const int stride = gdk_pixbuf_get_rowstride(grey);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    pixels[y * stride + x * 4 + 3] /= 2;
        }
    }
    FPictures[key] = picture;
    return picture;
}

} // namespace Platform
