// ICO files as the icon editing reads them: the whole file, size-limited, and its image directory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Corvane::Shared {

struct TIconImage {
    std::span<const std::uint8_t> GroupEntry; // the first 12 bytes of its ICONDIRENTRY
    std::span<const std::uint8_t> Data;       // its dwBytesInRes bytes at dwImageOffset
};

// The whole file. Throws std::runtime_error: "Icon file is too large" past maxSize bytes, or
// "Cannot open the icon file ..." when it cannot be read.
std::vector<std::uint8_t> ReadIconFile(const std::string& path, std::uint64_t maxSize);

// The images of ICO data, which they point into. Throws std::runtime_error("Icon file is invalid")
// for data shorter than its header or directory, data that starts with "MZ", or an image outside it.
// The reserved and type fields are not examined.
std::vector<TIconImage> ReadIconImages(std::span<const std::uint8_t> ico);

} // namespace Corvane::Shared
