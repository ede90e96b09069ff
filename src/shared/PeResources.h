// Reading and rewriting the resources of a PE32 or PE32+ executable file without the system's
// loader: the resource directory as a flat list, and an update that rebuilds the image around a new
// resource section while every byte outside it stays as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace Corvane::Shared {

using TPeBytes = std::vector<std::uint8_t>;

// A damaged or unsupported image, or a file that cannot be read or written; what() says why.
class EPeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A resource type or name: a 16-bit ID or a string. Strings are kept upper-case, as the system
// stores and looks them up.
class TResId {
public:
    // Implicit, so that an ID reads as itself where a TResId is expected.
    TResId(std::uint16_t id) : FId(id) {}
    explicit TResId(std::u16string name);

    bool IsId() const { return !FIsName; }
    std::uint16_t Id() const { return FId; }
    const std::u16string& Name() const { return FName; }
    // For messages: "14" or "MAINICON".
    std::string ToString() const;

    friend bool operator==(const TResId& a, const TResId& b) {
        return a.FIsName == b.FIsName && a.FId == b.FId && a.FName == b.FName;
    }
    // Directory order: names first (by code unit), then IDs (ascending).
    friend bool operator<(const TResId& a, const TResId& b);

private:
    bool FIsName = false;
    std::uint16_t FId = 0;
    std::u16string FName;
};

inline constexpr std::uint16_t kRtIcon = 3;
inline constexpr std::uint16_t kRtGroupIcon = 14;
inline constexpr std::uint16_t kRtVersion = 16;
inline constexpr std::uint16_t kLangNeutral = 0;
inline constexpr std::uint16_t kLangEnglishUs = 1033;

struct TResource {
    TResId Type;
    TResId Name;
    std::uint16_t Language = 0;
    // Nothing when the directory points outside the file: such an entry can be found, not loaded.
    std::optional<TPeBytes> Data;
    std::uint32_t CodePage = 0;
};

// The checksum of the optional header over a whole file, the checksum field itself counted as 0.
std::uint32_t ComputePeChecksum(std::span<const std::uint8_t> file, std::size_t checksumOffset);

// A PE file in memory with its resources, in directory order.
class TPeImage {
public:
    // Throws EPeError when the file cannot be read, is not a PE image, or its resource directory is
    // damaged. Entries whose data lies outside the file are kept without data.
    static TPeImage Load(const std::string& path);
    static TPeImage FromBytes(TPeBytes bytes);

    bool Is64() const { return FIs64; }
    const TPeBytes& Bytes() const { return FBytes; }
    std::uint32_t Checksum() const;
    // Where the checksum field lies in the file.
    std::size_t ChecksumOffset() const { return FOptionalHeader + 64; }

    const std::vector<TResource>& Resources() const { return FResources; }
    // The entry of exactly this type, name and language; names match without regard to case.
    const TResource* Find(const TResId& type, const TResId& name, std::uint16_t language) const;
    // The entry the system's FindResource picks for a program in US English: the language-neutral
    // one, else the one in 1033, else the first.
    const TResource* FindAnyLanguage(const TResId& type, const TResId& name) const;
    // The languages of a type and name, in directory order (ascending).
    std::vector<std::uint16_t> Languages(const TResId& type, const TResId& name) const;

    // Replaces the entry of this type, name and language, or adds it.
    void Set(const TResId& type, const TResId& name, std::uint16_t language, TPeBytes data);
    // Removes that entry; false when there was none.
    bool Remove(const TResId& type, const TResId& name, std::uint16_t language);
    // Removes, in one pass, every entry that select picks (called once per entry, in list order).
    void RemoveIf(const std::function<bool(const TResource&)>& select);
    void RemoveAll() { FResources.clear(); }

    // The file with the current resources: the resource section rebuilt in place when it has room,
    // grown when only relocations follow it, or else written as a new last section. Section table,
    // SizeOfImage, SizeOfInitializedData, the resource directory entry and a non-zero checksum follow
    // suit. Throws EPeError when the image leaves no way to place them.
    TPeBytes Build() const;

private:
    struct TSection {
        std::size_t HeaderOffset; // of its entry in the section table
        std::uint32_t VirtualSize, VirtualAddress, RawSize, RawPointer, Characteristics;
        std::string Name;
    };

    TPeImage() = default;
    void ParseHeaders();
    void ParseResources();
    std::optional<std::size_t> RvaToOffset(std::uint32_t rva, std::uint32_t size) const;
    const TSection* SectionOf(std::uint32_t rva) const;
    std::uint32_t DataDirectoryRva(unsigned index) const;
    std::uint32_t DataDirectorySize(unsigned index) const;
    std::size_t DataDirectoryOffset(unsigned index) const;

    TPeBytes FBytes;
    bool FIs64 = false;
    std::size_t FFileHeader = 0, FOptionalHeader = 0, FSectionTable = 0;
    std::uint32_t FFileAlignment = 0, FSectionAlignment = 0, FSizeOfHeaders = 0, FDirectoryCount = 0;
    std::vector<TSection> FSections;
    std::vector<TResource> FResources;
};

// A pending update of a file's resources, as the system's BeginUpdateResource, UpdateResource and
// EndUpdateResource: nothing reaches the file until Commit, which writes a new file beside it and
// renames it into place.
class TResourceUpdate {
public:
    // Throws EPeError when the file cannot be read, is no PE image, any resource's data cannot be
    // read, or data follows the image (a package archive would be cut off by the rewrite).
    TResourceUpdate(std::string path, bool deleteExistingResources);

    // Adds or replaces the entry; no data deletes it (nothing to delete is no error).
    void Update(const TResId& type, const TResId& name, std::uint16_t language,
                std::optional<std::span<const std::uint8_t>> data);
    // Deletes every entry that select picks, in one pass where Update would search once per entry.
    void RemoveIf(const std::function<bool(const TResource&)>& select) { FImage.RemoveIf(select); }
    // Throws EPeError when the image cannot be built or the file cannot be replaced; the file is
    // then unchanged.
    void Commit();
    const TPeImage& Image() const { return FImage; }

private:
    std::string FPath;
    TPeImage FImage;
};

// Writes bytes to a new file beside path and renames it over path, keeping path's permissions.
// Throws EPeError (the file untouched) on failure.
void ReplaceFileContent(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace Corvane::Shared
