// Where an executable image ends as its own headers describe it: the place an appended archive
// starts. PE: the furthest PointerToRawData + SizeOfRawData of the section table. ELF: the furthest
// of the header tables, the section contents and the segment contents.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Corvane::Shared {

enum class TExeFormat { Unknown, PE, ELF };

struct TExeImageInfo {
    TExeFormat Format = TExeFormat::Unknown;
    std::uint64_t ImageEnd = 0; // S
};

// Reads the headers of the file at path. Nothing when the file cannot be read or its headers are
// neither PE nor ELF or are damaged (a table pointing outside the file, say).
std::optional<TExeImageInfo> ReadExeImageInfo(const std::string& path);

} // namespace Corvane::Shared
