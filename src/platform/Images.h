// Decoding image files into plain pixels.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace Platform {

// Pixels row by row from the top, four bytes each: red, green, blue, alpha (not premultiplied).
struct TBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgba;
};

// Decodes a PNG, BMP or ICO image (an ICO gives its first image). False, bitmap untouched, when the
// bytes are no image the system can read.
bool DecodeImage(std::span<const std::uint8_t> bytes, TBitmap& bitmap);

} // namespace Platform
