// Reading a PE file's headers and resource directory, and editing the resource list in memory.
#include "shared/PeResources.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "abi/Utf.h"
#include "shared/BinaryReader.h"

namespace Corvane::Shared {

using namespace Corvane::Abi;

namespace {

constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::size_t kSectionEntrySize = 40;
constexpr unsigned kResourceDirectory = 2;
// Directories may share subdirectories and leaves may share data, so a small file can describe a
// huge tree. A walk that visits more entries, or would copy more bytes of data and names than the
// file holds plus this allowance, is taken for damage.
constexpr std::size_t kMaxDirectoryEntries = 1u << 16;
constexpr std::uint64_t kSharedBytesAllowance = 32u << 20;
constexpr std::uint32_t kHighBit = 0x80000000u;

char16_t UpperAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameName(const TResId& a, const TResId& b) {
    if (a.IsId() || b.IsId()) return a == b;
    const auto& x = a.Name();
    const auto& y = b.Name();
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char16_t p, char16_t q) {
               return UpperAscii(p) == UpperAscii(q);
           });
}

bool IsPowerOfTwo(std::uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

} // namespace

TResId::TResId(std::u16string name) : FIsName(true), FName(std::move(name)) {
    std::transform(FName.begin(), FName.end(), FName.begin(), UpperAscii);
}

std::string TResId::ToString() const {
    return IsId() ? std::to_string(FId) : Utf16ToUtf8(FName);
}

bool operator<(const TResId& a, const TResId& b) {
    if (a.FIsName != b.FIsName) return a.FIsName;
    return a.FIsName ? a.FName < b.FName : a.FId < b.FId;
}

std::uint32_t ComputePeChecksum(std::span<const std::uint8_t> file, std::size_t checksumOffset) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < file.size(); i += 2) {
        if (i == checksumOffset || i == checksumOffset + 2) continue;
        const std::uint32_t word = file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + file.size());
}

TPeImage TPeImage::Load(const std::string& path) {
    std::ifstream in(Abi::Utf8Path(path), std::ios::binary);
    if (!in) throw EPeError("Cannot open \"" + path + "\"");
    TPeBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EPeError("Cannot read \"" + path + "\"");
    try {
        return FromBytes(std::move(bytes));
    } catch (const EPeError& e) {
        throw EPeError("\"" + path + "\": " + e.what());
    }
}

TPeImage TPeImage::FromBytes(TPeBytes bytes) {
    TPeImage image;
    image.FBytes = std::move(bytes);
    image.ParseHeaders();
    image.ParseResources();
    return image;
}

void TPeImage::ParseHeaders() {
    TBinaryReader r(FBytes);
    if (FBytes.size() < 0x40 || FBytes[0] != 'M' || FBytes[1] != 'Z')
        throw EPeError("not a Windows executable");
    const std::uint32_t peOffset = r.U32At(0x3C);
    if (r.U32At(peOffset) != 0x00004550) throw EPeError("not a Windows executable (no PE signature)");
    FFileHeader = std::size_t{peOffset} + 4;
    const std::uint16_t sectionCount = r.U16At(FFileHeader + 2);
    const std::uint16_t optionalSize = r.U16At(FFileHeader + 16);
    FOptionalHeader = FFileHeader + 20;
    const std::uint16_t magic = r.U16At(FOptionalHeader);
    if (!r.Ok()) throw EPeError("the PE headers are cut short");
    if (magic != kMagicPe32 && magic != kMagicPe32Plus) throw EPeError("unknown optional header");
    FIs64 = magic == kMagicPe32Plus;
    const std::size_t directoriesAt = FIs64 ? 112 : 96;
    if (optionalSize < directoriesAt) throw EPeError("the optional header is too short");
    FSectionAlignment = r.U32At(FOptionalHeader + 32);
    FFileAlignment = r.U32At(FOptionalHeader + 36);
    FSizeOfHeaders = r.U32At(FOptionalHeader + 60);
    const std::uint32_t declared = r.U32At(FOptionalHeader + (FIs64 ? 108 : 92));
    FDirectoryCount = std::min<std::uint32_t>(declared, (optionalSize - directoriesAt) / 8);
    if (!IsPowerOfTwo(FFileAlignment) || !IsPowerOfTwo(FSectionAlignment))
        throw EPeError("the section or file alignment is not a power of two");

    FSectionTable = FOptionalHeader + optionalSize;
    FSections.clear();
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = FSectionTable + i * kSectionEntrySize;
        TSection s{};
        s.HeaderOffset = at;
        if (at + kSectionEntrySize > FBytes.size()) throw EPeError("the section table is cut short");
        s.Name.assign(reinterpret_cast<const char*>(&FBytes[at]), 8);
        s.Name.resize(s.Name.find('\0') == std::string::npos ? 8 : s.Name.find('\0'));
        s.VirtualSize = r.U32At(at + 8);
        s.VirtualAddress = r.U32At(at + 12);
        s.RawSize = r.U32At(at + 16);
        s.RawPointer = r.U32At(at + 20);
        s.Characteristics = r.U32At(at + 36);
        if (s.RawSize != 0 && std::uint64_t{s.RawPointer} + s.RawSize > FBytes.size())
            throw EPeError("the data of section \"" + s.Name + "\" lies outside the file");
        FSections.push_back(s);
    }
    if (!r.Ok()) throw EPeError("the PE headers are cut short");
}

std::size_t TPeImage::DataDirectoryOffset(unsigned index) const {
    return FOptionalHeader + (FIs64 ? 112 : 96) + std::size_t{index} * 8;
}

std::uint32_t TPeImage::DataDirectoryRva(unsigned index) const {
    if (index >= FDirectoryCount) return 0;
    TBinaryReader r(FBytes);
    return r.U32At(DataDirectoryOffset(index));
}

std::uint32_t TPeImage::DataDirectorySize(unsigned index) const {
    if (index >= FDirectoryCount) return 0;
    TBinaryReader r(FBytes);
    return r.U32At(DataDirectoryOffset(index) + 4);
}

std::uint32_t TPeImage::Checksum() const {
    TBinaryReader r(FBytes);
    return r.U32At(ChecksumOffset());
}

const TPeImage::TSection* TPeImage::SectionOf(std::uint32_t rva) const {
    for (const TSection& s : FSections) {
        const std::uint32_t span = std::max(s.VirtualSize, s.RawSize);
        if (rva >= s.VirtualAddress && rva - s.VirtualAddress < span) return &s;
    }
    return nullptr;
}

std::optional<std::size_t> TPeImage::RvaToOffset(std::uint32_t rva, std::uint32_t size) const {
    if (rva < FSizeOfHeaders && SectionOf(rva) == nullptr) {
        if (std::uint64_t{rva} + size > std::min<std::uint64_t>(FSizeOfHeaders, FBytes.size()))
            return std::nullopt;
        return rva;
    }
    const TSection* s = SectionOf(rva);
    if (s == nullptr) return std::nullopt;
    const std::uint64_t inSection = rva - s->VirtualAddress;
    if (inSection + size > s->RawSize) return std::nullopt;
    return static_cast<std::size_t>(s->RawPointer + inSection);
}

void TPeImage::ParseResources() {
    FResources.clear();
    const std::uint32_t rootRva = DataDirectoryRva(kResourceDirectory);
    if (rootRva == 0) return;
    const auto rootOffset = RvaToOffset(rootRva, 16);
    if (!rootOffset) throw EPeError("the resource directory lies outside the file");
    // Directory offsets count from the root; they stay inside the root's section.
    const TSection* home = SectionOf(rootRva);
    const std::size_t areaEnd = home ? std::size_t{home->RawPointer} + home->RawSize
                                     : std::min<std::size_t>(FSizeOfHeaders, FBytes.size());
    TBinaryReader area(std::span<const std::uint8_t>(FBytes).subspan(*rootOffset, areaEnd - *rootOffset));

    std::size_t entriesLeft = kMaxDirectoryEntries;
    std::uint64_t bytesLeft = FBytes.size() + kSharedBytesAllowance;
    auto take = [&](std::uint64_t bytes) {
        if (bytes > bytesLeft) throw EPeError("the resource directory is damaged (it repeats too much data)");
        bytesLeft -= bytes;
    };

    auto readName = [&](std::uint32_t field) -> TResId {
        if ((field & kHighBit) == 0) return TResId(static_cast<std::uint16_t>(field & 0xFFFF));
        TBinaryReader name = area;
        name.Seek(field & ~kHighBit);
        const std::uint16_t length = name.U16();
        const auto units = name.Bytes(std::uint64_t{length} * 2);
        if (!name.Ok()) throw EPeError("a resource name lies outside the resource section");
        take(std::uint64_t{length} * 2);
        std::u16string text(length, u'\0');
        for (std::size_t i = 0; i < length; ++i)
            text[i] = static_cast<char16_t>(units[2 * i] | units[2 * i + 1] << 8);
        return TResId(std::move(text));
    };
    // The (name field, data field) pairs of the directory at offset.
    auto readDirectory = [&](std::uint32_t offset) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;
        const std::uint32_t count = std::uint32_t{area.U16At(offset + 12)} + area.U16At(offset + 14);
        if (count > entriesLeft) throw EPeError("the resource directory is damaged (too many entries)");
        entriesLeft -= count;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t at = std::uint64_t{offset} + 16 + std::uint64_t{i} * 8;
            entries.emplace_back(area.U32At(at), area.U32At(at + 4));
        }
        if (!area.Ok()) throw EPeError("the resource directory is damaged");
        return entries;
    };
    auto subdirectory = [](std::uint32_t field) {
        if ((field & kHighBit) == 0) throw EPeError("the resource directory is damaged");
        return field & ~kHighBit;
    };

    for (const auto& [typeField, typeData] : readDirectory(0)) {
        const TResId type = readName(typeField);
        for (const auto& [nameField, nameData] : readDirectory(subdirectory(typeData))) {
            const TResId name = readName(nameField);
            for (const auto& [langField, langData] : readDirectory(subdirectory(nameData))) {
                if ((langData & kHighBit) != 0) throw EPeError("the resource directory is damaged");
                const std::uint32_t dataRva = area.U32At(langData);
                const std::uint32_t size = area.U32At(std::uint64_t{langData} + 4);
                const std::uint32_t codePage = area.U32At(std::uint64_t{langData} + 8);
                if (!area.Ok()) throw EPeError("the resource directory is damaged");
                TResource res{type, name, static_cast<std::uint16_t>(langField & 0xFFFF), std::nullopt,
                              codePage};
                // Each entry holds its own copy of the names.
                take(2 * (std::uint64_t{type.Name().size()} + name.Name().size()));
                if (const auto at = RvaToOffset(dataRva, size)) {
                    take(size);
                    res.Data = TPeBytes(FBytes.begin() + static_cast<std::ptrdiff_t>(*at),
                                        FBytes.begin() + static_cast<std::ptrdiff_t>(*at + size));
                }
                FResources.push_back(std::move(res));
            }
        }
    }
}

const TResource* TPeImage::Find(const TResId& type, const TResId& name, std::uint16_t language) const {
    for (const TResource& r : FResources)
        if (SameName(r.Type, type) && SameName(r.Name, name) && r.Language == language) return &r;
    return nullptr;
}

const TResource* TPeImage::FindAnyLanguage(const TResId& type, const TResId& name) const {
    const auto languages = Languages(type, name);
    if (languages.empty()) return nullptr;
    for (const std::uint16_t preferred : {kLangNeutral, kLangEnglishUs})
        if (std::find(languages.begin(), languages.end(), preferred) != languages.end())
            return Find(type, name, preferred);
    return Find(type, name, languages.front());
}

std::vector<std::uint16_t> TPeImage::Languages(const TResId& type, const TResId& name) const {
    std::vector<std::uint16_t> languages;
    for (const TResource& r : FResources)
        if (SameName(r.Type, type) && SameName(r.Name, name)) languages.push_back(r.Language);
    std::sort(languages.begin(), languages.end());
    return languages;
}

void TPeImage::Set(const TResId& type, const TResId& name, std::uint16_t language, TPeBytes data) {
    for (TResource& r : FResources) {
        if (SameName(r.Type, type) && SameName(r.Name, name) && r.Language == language) {
            r.Data = std::move(data);
            return;
        }
    }
    FResources.push_back(TResource{type, name, language, std::move(data), 0});
}

void TPeImage::RemoveIf(const std::function<bool(const TResource&)>& select) {
    std::vector<TResource> kept;
    for (TResource& r : FResources)
        if (!select(r)) kept.push_back(std::move(r));
    FResources = std::move(kept);
}

bool TPeImage::Remove(const TResId& type, const TResId& name, std::uint16_t language) {
    const auto it = std::find_if(FResources.begin(), FResources.end(), [&](const TResource& r) {
        return SameName(r.Type, type) && SameName(r.Name, name) && r.Language == language;
    });
    if (it == FResources.end()) return false;
    FResources.erase(it);
    return true;
}

} // namespace Corvane::Shared
