// The end of an executable image as its PE or ELF headers describe it.
#include "shared/ExeImage.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "abi/Utf.h"
#include "shared/BinaryReader.h"

namespace Corvane::Shared {

namespace {

using TBuffer = std::vector<std::uint8_t>;

// A header table larger than this is taken for damage rather than read into memory.
constexpr std::uint64_t kMaxTableBytes = 64ull << 20;

// Reads byte ranges of the file, never more than asked and never past its end.
class TImageFile {
public:
    explicit TImageFile(const std::string& path) : FStream(Abi::Utf8Path(path), std::ios::binary) {
        if (!FStream) return;
        FStream.seekg(0, std::ios::end);
        const auto end = FStream.tellg();
        if (end < 0) return;
        FSize = static_cast<std::uint64_t>(end);
        FOk = true;
    }

    bool Ok() const { return FOk; }

    // The bytes [offset, offset + count); nothing when any of them lies outside the file.
    std::optional<TBuffer> Read(std::uint64_t offset, std::uint64_t count) {
        if (!FOk || offset > FSize || count > FSize - offset || count > kMaxTableBytes) return std::nullopt;
        TBuffer buffer(static_cast<std::size_t>(count));
        FStream.clear();
        FStream.seekg(static_cast<std::streamoff>(offset));
        FStream.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(count));
        if (static_cast<std::uint64_t>(FStream.gcount()) != count) return std::nullopt;
        return buffer;
    }

private:
    std::ifstream FStream;
    std::uint64_t FSize = 0;
    bool FOk = false;
};

// a * b and a + b, or nothing on overflow.
std::optional<std::uint64_t> Mul(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) return std::nullopt;
    return a * b;
}

std::optional<std::uint64_t> Add(std::uint64_t a, std::uint64_t b) {
    if (b > std::numeric_limits<std::uint64_t>::max() - a) return std::nullopt;
    return a + b;
}

std::optional<std::uint64_t> ReadPeImageEnd(TImageFile& file) {
    const auto dos = file.Read(0, 0x40);
    if (!dos) return std::nullopt;
    TBinaryReader dosReader(*dos);
    const std::uint32_t peOffset = dosReader.U32At(0x3C);

    // Signature, then the COFF file header.
    const auto nt = file.Read(peOffset, 4 + 20);
    if (!nt) return std::nullopt;
    TBinaryReader ntReader(*nt);
    if (ntReader.U32At(0) != 0x00004550) return std::nullopt; // "PE\0\0"
    const std::uint16_t sectionCount = ntReader.U16At(4 + 2);
    const std::uint16_t optionalHeaderSize = ntReader.U16At(4 + 16);
    if (!ntReader.Ok()) return std::nullopt;

    constexpr std::uint64_t kEntrySize = 40;
    const std::uint64_t tableOffset = std::uint64_t{peOffset} + 4 + 20 + optionalHeaderSize;
    const auto table = file.Read(tableOffset, sectionCount * kEntrySize);
    if (!table) return std::nullopt;
    TBinaryReader tableReader(*table);
    // The sums stay 32-bit, as the header fields are.
    std::uint32_t end = 0;
    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        const std::uint32_t rawSize = tableReader.U32At(i * kEntrySize + 16);
        const std::uint32_t rawPointer = tableReader.U32At(i * kEntrySize + 20);
        end = std::max<std::uint32_t>(end, rawPointer + rawSize);
    }
    if (!tableReader.Ok()) return std::nullopt;
    return end;
}

// The fields of the ELF header, and of its tables' entries, by class.
struct TElfLayout {
    bool Is64;
    std::uint64_t HeaderSize;
    std::uint64_t MinSectionEntry, MinSegmentEntry;

    std::uint64_t Word(TBinaryReader& r, std::uint64_t offset) const {
        return Is64 ? r.U64At(offset) : r.U32At(offset);
    }
};

std::optional<std::uint64_t> ReadElfImageEnd(TImageFile& file) {
    const auto ident = file.Read(0, 16);
    if (!ident) return std::nullopt;
    const std::uint8_t elfClass = (*ident)[4];
    const std::uint8_t elfData = (*ident)[5];
    if ((elfClass != 1 && elfClass != 2) || (elfData != 1 && elfData != 2)) return std::nullopt;
    const bool bigEndian = elfData == 2;
    const TElfLayout layout = elfClass == 2 ? TElfLayout{true, 64, 64, 56} : TElfLayout{false, 52, 40, 32};

    const auto header = file.Read(0, layout.HeaderSize);
    if (!header) return std::nullopt;
    TBinaryReader h(*header, bigEndian);
    const std::uint64_t phOffset = layout.Word(h, layout.Is64 ? 0x20 : 0x1C);
    const std::uint64_t shOffset = layout.Word(h, layout.Is64 ? 0x28 : 0x20);
    const std::uint64_t fields = layout.Is64 ? 0x36 : 0x2A;
    const std::uint16_t phEntrySize = h.U16At(fields);
    std::uint64_t phCount = h.U16At(fields + 2);
    const std::uint16_t shEntrySize = h.U16At(fields + 4);
    std::uint64_t shCount = h.U16At(fields + 6);
    if (!h.Ok()) return std::nullopt;

    std::uint64_t end = layout.HeaderSize;
    auto extend = [&end](std::uint64_t offset, std::uint64_t size) {
        const auto last = Add(offset, size);
        if (last) end = std::max(end, *last);
        return last.has_value();
    };

    // Counts too large for the header live in section 0: e_shnum in sh_size, e_phnum in sh_info.
    constexpr std::uint64_t kPhCountInSection0 = 0xFFFF;
    if (shOffset != 0 && (shCount == 0 || phCount == kPhCountInSection0)) {
        if (shEntrySize < layout.MinSectionEntry) return std::nullopt;
        const auto first = file.Read(shOffset, shEntrySize);
        if (!first) return std::nullopt;
        TBinaryReader s(*first, bigEndian);
        if (shCount == 0) shCount = layout.Word(s, layout.Is64 ? 0x20 : 0x14);
        if (phCount == kPhCountInSection0) phCount = s.U32At(layout.Is64 ? 0x2C : 0x1C);
        if (!s.Ok()) return std::nullopt;
    }

    // Reads a header table, counts its own extent, and hands every entry's offset to visit.
    auto walkTable = [&](std::uint64_t offset, std::uint64_t count, std::uint64_t entrySize,
                         std::uint64_t minEntrySize, auto visit) {
        if (offset == 0 || count == 0) return true;
        if (entrySize < minEntrySize) return false;
        const auto bytes = Mul(count, entrySize);
        if (!bytes || !extend(offset, *bytes)) return false;
        const auto table = file.Read(offset, *bytes);
        if (!table) return false;
        TBinaryReader r(*table, bigEndian);
        for (std::uint64_t i = 0; i < count; ++i)
            if (!visit(r, i * entrySize)) return false;
        return r.Ok();
    };

    // SHT_NULL has no contents (section 0 may carry counts instead); SHT_NOBITS takes no room.
    constexpr std::uint32_t kNull = 0, kNoBits = 8;
    const bool sectionsOk = walkTable(shOffset, shCount, shEntrySize, layout.MinSectionEntry,
                                      [&](TBinaryReader& r, std::uint64_t entry) {
                                          const std::uint32_t type = r.U32At(entry + 4);
                                          if (type == kNull || type == kNoBits) return true;
                                          return extend(layout.Word(r, entry + (layout.Is64 ? 0x18 : 0x10)),
                                                        layout.Word(r, entry + (layout.Is64 ? 0x20 : 0x14)));
                                      });
    const bool segmentsOk =
        sectionsOk && walkTable(phOffset, phCount, phEntrySize, layout.MinSegmentEntry,
                                [&](TBinaryReader& r, std::uint64_t entry) {
                                    return extend(layout.Word(r, entry + (layout.Is64 ? 0x08 : 0x04)),
                                                  layout.Word(r, entry + (layout.Is64 ? 0x20 : 0x10)));
                                });
    if (!segmentsOk) return std::nullopt;
    return end;
}

} // namespace

std::optional<TExeImageInfo> ReadExeImageInfo(const std::string& path) {
    TImageFile file(path);
    if (!file.Ok()) return std::nullopt;
    const auto magic = file.Read(0, 4);
    if (!magic) return std::nullopt;
    const auto& m = *magic;
    if (m[0] == 'M' && m[1] == 'Z') {
        if (const auto end = ReadPeImageEnd(file)) return TExeImageInfo{TExeFormat::PE, *end};
    } else if (m[0] == 0x7F && m[1] == 'E' && m[2] == 'L' && m[3] == 'F') {
        if (const auto end = ReadElfImageEnd(file)) return TExeImageInfo{TExeFormat::ELF, *end};
    }
    return std::nullopt;
}

} // namespace Corvane::Shared
