// Image collections and lists over GdkPixbuf: PNG sources decoded on first use, scaled to the
// list's size and greyed for the disabled versions.
#include "platform/ImageList.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>

#include "platform/gtk/Pixbufs.h"

namespace Platform {

namespace {

// The width in a PNG's IHDR chunk; 0 when the bytes are not a PNG.
int PngWidth(std::string_view png) {
    constexpr std::string_view kSignature = "\x89PNG\r\n\x1a\n";
    if (png.size() < 24 || png.substr(0, 8) != kSignature || png.substr(12, 4) != "IHDR") return 0;
    std::uint32_t width = 0;
    for (int i = 16; i < 20; ++i)
        width = (width << 8) | static_cast<unsigned char>(png[static_cast<std::size_t>(i)]);
    return width > 0 && width <= 4096 ? static_cast<int>(width) : 0;
}

} // namespace

bool TSizedImageCollection::Add(const std::string& name, std::string_view png) {
    const int width = PngWidth(png);
    if (width == 0) return false;
    int index = IndexOf(name);
    if (index < 0) {
        FItems.push_back({name, {}});
        index = Count() - 1;
    }
    auto& sources = FItems[static_cast<std::size_t>(index)].Sources;
    sources.emplace_back(width, std::string(png));
    std::stable_sort(sources.begin(), sources.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return true;
}

int TSizedImageCollection::IndexOf(const std::string& name) const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].Name == name) return static_cast<int>(i);
    return -1;
}

int TSizedImageCollection::SourceWidthFor(int index, int width) const {
    if (index < 0 || index >= Count()) return 0;
    const auto& sources = FItems[static_cast<std::size_t>(index)].Sources;
    for (const auto& source : sources)
        if (source.first >= width) return source.first;
    return sources.back().first;
}

std::string_view TSizedImageCollection::Source(int index, int sourceWidth) const {
    if (index < 0 || index >= Count()) return {};
    for (const auto& source : FItems[static_cast<std::size_t>(index)].Sources)
        if (source.first == sourceWidth) return source.second;
    return {};
}

TSizedImageList::~TSizedImageList() {
    ClearPictures();
}

void TSizedImageList::ClearPictures() {
    for (auto& entry : FPictures)
        if (entry.second) g_object_unref(entry.second);
    FPictures.clear();
}

void TSizedImageList::SetImageCollection(const TSizedImageCollection* collection) {
    FCollection = collection;
    ClearPictures();
}

void TSizedImageList::SetSize(int width, int height) {
    FWidth = std::max(1, width);
    FHeight = std::max(1, height);
    ClearPictures();
}

int TSizedImageList::Add(const std::string& collectionName) {
    if (!FCollection || FCollection->IndexOf(collectionName) < 0) return -1;
    FNames.push_back(collectionName);
    return Count() - 1;
}

std::string TSizedImageList::Name(int index, bool disabled) const {
    if (index < 0 || index >= Count()) return {};
    const std::string& name = FNames[static_cast<std::size_t>(index)];
    return disabled ? name + std::string(kDisabledSuffix) : name;
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
