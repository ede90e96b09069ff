// Image lists over GDI: PNG sources decoded on first use, scaled to the list's size and greyed for
// the disabled versions; a picture is an HBITMAP (32-bit, premultiplied alpha) owned by the list.
#include "platform/ImageList.h"

#include <windows.h>

#include "platform/ImageListSources.h"
#include "platform/win32/Pictures.h"

namespace Platform {

void TSizedImageList::ClearPictures() {
    for (auto& entry : FPictures)
        if (entry.second) DeleteObject(static_cast<HBITMAP>(entry.second));
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
    TBitmap decoded;
    HBITMAP picture = nullptr;
    if (DecodeImage({reinterpret_cast<const std::uint8_t*>(source.data()), source.size()}, decoded)) {
        TBitmap sized = Pictures::Fit(decoded, width, height, false);
        if (disabled) Pictures::Grey(sized);
        picture = Pictures::ToBitmapHandle(sized);
    }
    FPictures[key] = picture;
    return picture;
}

} // namespace Platform
