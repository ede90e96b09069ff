// Bounds-checked little-endian reads over a byte span, with a failure that stays.
#include "shared/BinaryReader.h"

namespace Corvane::Shared {

bool TBinaryReader::Has(std::uint64_t count) const {
    return FOk && FPos <= FData.size() && count <= FData.size() - FPos;
}

void TBinaryReader::Seek(std::uint64_t offset) {
    if (!FOk || offset > FData.size()) {
        FOk = false;
        return;
    }
    FPos = static_cast<std::size_t>(offset);
}

void TBinaryReader::Skip(std::uint64_t count) {
    if (!Has(count)) {
        FOk = false;
        return;
    }
    FPos += static_cast<std::size_t>(count);
}

std::uint64_t TBinaryReader::ReadValue(unsigned width) {
    if (!Has(width)) {
        FOk = false;
        return 0;
    }
    std::uint64_t value = 0;
    for (unsigned i = 0; i < width; ++i) {
        const unsigned shift = FBigEndian ? 8 * (width - 1 - i) : 8 * i;
        value |= static_cast<std::uint64_t>(FData[FPos + i]) << shift;
    }
    FPos += width;
    return value;
}

std::uint8_t TBinaryReader::U8() {
    return static_cast<std::uint8_t>(ReadValue(1));
}
std::uint16_t TBinaryReader::U16() {
    return static_cast<std::uint16_t>(ReadValue(2));
}
std::uint32_t TBinaryReader::U32() {
    return static_cast<std::uint32_t>(ReadValue(4));
}
std::uint64_t TBinaryReader::U64() {
    return ReadValue(8);
}

std::span<const std::uint8_t> TBinaryReader::Bytes(std::uint64_t count) {
    if (!Has(count)) {
        FOk = false;
        return {};
    }
    const auto bytes = FData.subspan(FPos, static_cast<std::size_t>(count));
    FPos += static_cast<std::size_t>(count);
    return bytes;
}

std::uint16_t TBinaryReader::U16At(std::uint64_t offset) {
    return static_cast<std::uint16_t>(ReadAt(offset, 2));
}

std::uint32_t TBinaryReader::U32At(std::uint64_t offset) {
    return static_cast<std::uint32_t>(ReadAt(offset, 4));
}

std::uint64_t TBinaryReader::U64At(std::uint64_t offset) {
    return ReadAt(offset, 8);
}

std::uint64_t TBinaryReader::ReadAt(std::uint64_t offset, unsigned width) {
    if (!FOk || offset > FData.size()) {
        FOk = false;
        return 0;
    }
    const std::size_t saved = FPos;
    FPos = static_cast<std::size_t>(offset);
    const std::uint64_t value = ReadValue(width);
    FPos = saved;
    return value;
}

} // namespace Corvane::Shared
