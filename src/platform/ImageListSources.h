// The part of the image list that every backend shares: PNG sources by name and size, and the
// list's entries. Each backend's ImageList.cpp includes it once and makes the pictures.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/ImageList.h"

namespace Platform {

namespace ImageListSources {

// The width in a PNG's IHDR chunk; 0 when the bytes are not a PNG.
inline int PngWidth(std::string_view png) {
    constexpr std::string_view kSignature = "\x89PNG\r\n\x1a\n";
    if (png.size() < 24 || png.substr(0, 8) != kSignature || png.substr(12, 4) != "IHDR") return 0;
    std::uint32_t width = 0;
    for (int i = 16; i < 20; ++i)
        width = (width << 8) | static_cast<unsigned char>(png[static_cast<std::size_t>(i)]);
    return width > 0 && width <= 4096 ? static_cast<int>(width) : 0;
}

} // namespace ImageListSources

bool TSizedImageCollection::Add(const std::string& name, std::string_view png) {
    const int width = ImageListSources::PngWidth(png);
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

} // namespace Platform
