// Named pictures held in several source sizes, and image lists that give them at one size for the
// screen's scale, with grey versions for disabled controls. (The menu's pictures, one size each,
// live in platform/Menu.h.)
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Platform {

// Pictures by name, each in one or more source sizes (PNG bytes).
class TSizedImageCollection {
public:
    // Adds a source of the named picture; its size comes from the PNG header. False for bytes that
    // are not a PNG.
    bool Add(const std::string& name, std::string_view png);
    int IndexOf(const std::string& name) const; // -1 when absent
    int Count() const { return static_cast<int>(FItems.size()); }
    // The source width that serves a picture drawn width pixels wide: the smallest not below it,
    // else the largest; 0 for an unknown index.
    int SourceWidthFor(int index, int width) const;
    std::string_view Source(int index, int sourceWidth) const;

private:
    struct TItem {
        std::string Name;
        std::vector<std::pair<int, std::string>> Sources; // by width, ascending
    };
    std::vector<TItem> FItems;
};

// Pictures of a collection at one size in device-independent pixels.
class TSizedImageList {
public:
    static constexpr std::string_view kDisabledSuffix = "_Disabled";

    TSizedImageList() = default;
    ~TSizedImageList();
    TSizedImageList(const TSizedImageList&) = delete;
    TSizedImageList& operator=(const TSizedImageList&) = delete;

    void SetImageCollection(const TSizedImageCollection* collection);
    void SetSize(int width, int height);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Adds the collection's picture of that name; returns its index in the list (-1: no such name).
    int Add(const std::string& collectionName);
    int Count() const { return static_cast<int>(FNames.size()); }
    // The image's name; the grey version's name carries kDisabledSuffix.
    std::string Name(int index, bool disabled = false) const;
    // The picture at the size for a screen scale (1 at 96 dots per inch) as a native image (a
    // GdkPixbuf* or an HBITMAP, owned by the list), nullptr when there is none.
    void* Picture(int index, bool disabled, int scale) const;

private:
    const TSizedImageCollection* FCollection = nullptr;
    int FWidth = 16;
    int FHeight = 16;
    std::vector<std::string> FNames;
    mutable std::map<std::pair<std::string, int>, void*> FPictures; // by name and scale
    void ClearPictures();
};

} // namespace Platform
