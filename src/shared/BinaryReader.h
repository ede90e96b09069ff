// Bounds-checked little-endian reader over untrusted bytes (executable headers, icons, version
// blocks). A read past the end puts the reader in a failed state that stays; callers test Ok() once.
// A failed read answers 0 or an empty span, and every later read fails too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace Corvane::Shared {

class TBinaryReader {
public:
    explicit TBinaryReader(std::span<const std::uint8_t> data) : FData(data) {}
    // Big-endian ELF files are the only big-endian data read here.
    TBinaryReader(std::span<const std::uint8_t> data, bool bigEndian) : FData(data), FBigEndian(bigEndian) {}

    bool Ok() const { return FOk; }
    std::size_t Position() const { return FPos; }
    std::size_t Size() const { return FData.size(); }
    // Moves to an absolute offset; an offset past the end fails the reader.
    void Seek(std::uint64_t offset);
    void Skip(std::uint64_t count);

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::uint64_t U64();
    // count raw bytes; an empty span when they are not all there (and the reader fails).
    std::span<const std::uint8_t> Bytes(std::uint64_t count);

    // Reads at an absolute offset without moving; failed reads fail the reader.
    std::uint16_t U16At(std::uint64_t offset);
    std::uint32_t U32At(std::uint64_t offset);
    std::uint64_t U64At(std::uint64_t offset);

private:
    bool Has(std::uint64_t count) const;
    std::uint64_t ReadValue(unsigned width);
    std::uint64_t ReadAt(std::uint64_t offset, unsigned width);

    std::span<const std::uint8_t> FData;
    std::size_t FPos = 0;
    bool FOk = true;
    bool FBigEndian = false;
};

} // namespace Corvane::Shared
