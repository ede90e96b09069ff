// Writing a resource directory and placing it in the image: in place, grown, or as a new section.
#include "shared/PeResources.h"

#include <algorithm>
#include <map>

namespace Corvane::Shared {

namespace {

constexpr unsigned kResourceDirectory = 2;
constexpr unsigned kCertificateDirectory = 4; // a file offset, not an address
constexpr unsigned kRelocationDirectory = 5;
constexpr std::size_t kSectionEntrySize = 40;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kInitializedData = 0x00000040;
constexpr std::uint32_t kMemRead = 0x40000000;

void Put16(TPeBytes& b, std::size_t at, std::uint32_t value) {
    b[at] = static_cast<std::uint8_t>(value);
    b[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(TPeBytes& b, std::size_t at, std::uint32_t value) {
    for (unsigned i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Get32(const TPeBytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint64_t AlignUp(std::uint64_t value, std::uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

std::uint32_t To32(std::uint64_t value) {
    if (value > 0xFFFFFFFFu) throw EPeError("the image would grow beyond 4 GiB");
    return static_cast<std::uint32_t>(value);
}

struct TNameNode {
    const TResId* Name;
    std::vector<const TResource*> Languages;
};
struct TTypeNode {
    const TResId* Type;
    std::vector<TNameNode> Names;
};

// The resource directory for the resources, its data addressed from baseRva: directories breadth
// first, then the data entries, the names, and the data, each piece of data 8-byte aligned.
TPeBytes SerializeResources(const std::vector<TResource>& resources, std::uint32_t baseRva) {
    std::vector<const TResource*> sorted;
    for (const TResource& r : resources)
        sorted.push_back(&r);
    std::sort(sorted.begin(), sorted.end(), [](const TResource* a, const TResource* b) {
        if (!(a->Type == b->Type)) return a->Type < b->Type;
        if (!(a->Name == b->Name)) return a->Name < b->Name;
        return a->Language < b->Language;
    });
    std::vector<TTypeNode> tree;
    for (const TResource* r : sorted) {
        if (tree.empty() || !(*tree.back().Type == r->Type)) tree.push_back({&r->Type, {}});
        auto& names = tree.back().Names;
        if (names.empty() || !(*names.back().Name == r->Name)) names.push_back({&r->Name, {}});
        names.back().Languages.push_back(r);
    }

    auto directorySize = [](std::size_t entries) { return 16 + 8 * entries; };
    std::size_t size = directorySize(tree.size());
    for (const TTypeNode& t : tree)
        size += directorySize(t.Names.size());
    const std::size_t typeDirsAt = directorySize(tree.size());
    std::size_t nameDirsAt = typeDirsAt;
    for (const TTypeNode& t : tree) {
        nameDirsAt += directorySize(t.Names.size());
        for (const TNameNode& n : t.Names)
            size += directorySize(n.Languages.size());
    }
    const std::size_t dataEntriesAt = size;
    size += 16 * sorted.size();

    std::map<std::u16string, std::size_t> nameAt;
    auto placeName = [&](const TResId& id) {
        if (id.IsId() || nameAt.count(id.Name())) return;
        nameAt[id.Name()] = size;
        size += 2 + 2 * id.Name().size();
    };
    for (const TTypeNode& t : tree) {
        placeName(*t.Type);
        for (const TNameNode& n : t.Names)
            placeName(*n.Name);
    }
    std::vector<std::size_t> dataAt;
    for (const TResource* r : sorted) {
        size = AlignUp(size, 8);
        dataAt.push_back(size);
        size += r->Data->size();
    }
    size = AlignUp(size, 8);

    TPeBytes out(size);
    for (const auto& [name, at] : nameAt) {
        Put16(out, at, static_cast<std::uint32_t>(name.size()));
        for (std::size_t i = 0; i < name.size(); ++i)
            Put16(out, at + 2 + 2 * i, name[i]);
    }
    auto writeDirectory = [&](std::size_t at, std::size_t named, std::size_t total) {
        Put16(out, at + 12, static_cast<std::uint32_t>(named));
        Put16(out, at + 14, static_cast<std::uint32_t>(total - named));
        return at + 16;
    };
    auto nameField = [&](const TResId& id) {
        return id.IsId() ? std::uint32_t{id.Id()}
                         : kHighBit | static_cast<std::uint32_t>(nameAt.at(id.Name()));
    };
    auto countNamed = [](const auto& nodes, auto idOf) {
        return static_cast<std::size_t>(
            std::count_if(nodes.begin(), nodes.end(), [&](const auto& n) { return !idOf(n).IsId(); }));
    };

    std::size_t entry = writeDirectory(
        0, countNamed(tree, [](const TTypeNode& t) -> const TResId& { return *t.Type; }), tree.size());
    std::size_t typeDir = typeDirsAt, nameDir = nameDirsAt, leaf = 0;
    for (const TTypeNode& t : tree) {
        Put32(out, entry, nameField(*t.Type));
        Put32(out, entry + 4, kHighBit | static_cast<std::uint32_t>(typeDir));
        entry += 8;
        std::size_t nameEntry = writeDirectory(
            typeDir, countNamed(t.Names, [](const TNameNode& n) -> const TResId& { return *n.Name; }),
            t.Names.size());
        typeDir += directorySize(t.Names.size());
        for (const TNameNode& n : t.Names) {
            Put32(out, nameEntry, nameField(*n.Name));
            Put32(out, nameEntry + 4, kHighBit | static_cast<std::uint32_t>(nameDir));
            nameEntry += 8;
            std::size_t langEntry = writeDirectory(nameDir, 0, n.Languages.size());
            nameDir += directorySize(n.Languages.size());
            for (const TResource* r : n.Languages) {
                const std::size_t dataEntry = dataEntriesAt + 16 * leaf;
                Put32(out, langEntry, r->Language);
                Put32(out, langEntry + 4, static_cast<std::uint32_t>(dataEntry));
                langEntry += 8;
                Put32(out, dataEntry, To32(std::uint64_t{baseRva} + dataAt[leaf]));
                Put32(out, dataEntry + 4, static_cast<std::uint32_t>(r->Data->size()));
                Put32(out, dataEntry + 8, r->CodePage);
                std::copy(r->Data->begin(), r->Data->end(),
                          out.begin() + static_cast<std::ptrdiff_t>(dataAt[leaf]));
                ++leaf;
            }
        }
    }
    return out;
}

} // namespace

TPeBytes TPeImage::Build() const {
    for (const TResource& r : FResources)
        if (!r.Data)
            throw EPeError("the data of resource " + r.Type.ToString() + "/" + r.Name.ToString() +
                           " lies outside the file");
    const std::uint32_t newSize = To32(SerializeResources(FResources, 0).size());
    if (FDirectoryCount <= kResourceDirectory)
        throw EPeError("the image has no entry for a resource directory");
    // Every header field patched below lies before the end of the section table.
    const std::size_t tableEnd = FSectionTable + FSections.size() * kSectionEntrySize;
    for (const TSection& s : FSections)
        if (s.RawSize != 0 && s.RawPointer < tableEnd)
            throw EPeError("the data of section \"" + s.Name + "\" overlaps the headers");

    // The same measure as the reader's, so that no section starts inside another's raw tail.
    auto span = [](const TSection& s) { return std::max(s.VirtualSize, s.RawSize); };
    auto holds = [&](const TSection& s, std::uint32_t rva) {
        return rva >= s.VirtualAddress && rva - s.VirtualAddress < span(s);
    };
    auto rawOverlap = [](const TSection& a, const TSection& b) {
        return a.RawSize != 0 && b.RawSize != 0 && std::uint64_t{a.RawPointer} + a.RawSize > b.RawPointer &&
               std::uint64_t{b.RawPointer} + b.RawSize > a.RawPointer;
    };
    // Whether a data directory other than the listed ones points into the section.
    auto usedByOthers = [&](const TSection& s, unsigned own) {
        for (unsigned d = 0; d < FDirectoryCount; ++d) {
            if (d == own || d == kCertificateDirectory) continue;
            if (DataDirectoryRva(d) != 0 && DataDirectorySize(d) != 0 && holds(s, DataDirectoryRva(d)))
                return true;
        }
        return false;
    };

    // The headers take the first addresses: a new section never lands at 0.
    std::uint64_t imageEnd = FSizeOfHeaders;
    std::uint64_t addressEnd = std::max<std::uint64_t>(FSizeOfHeaders, tableEnd + kSectionEntrySize);
    for (const TSection& s : FSections) {
        if (s.RawSize != 0)
            imageEnd = std::max<std::uint64_t>(imageEnd, std::uint64_t{s.RawPointer} + s.RawSize);
        addressEnd = std::max<std::uint64_t>(addressEnd, std::uint64_t{s.VirtualAddress} + span(s));
    }
    imageEnd = std::min<std::uint64_t>(imageEnd, FBytes.size());

    // The section that holds the resource directory and nothing else, its file bytes included.
    const std::uint32_t rootRva = DataDirectoryRva(kResourceDirectory);
    const TSection* own = nullptr;
    for (const TSection& s : FSections)
        if (rootRva != 0 && s.VirtualAddress == rootRva && s.RawSize != 0 &&
            !usedByOthers(s, kResourceDirectory) &&
            std::none_of(FSections.begin(), FSections.end(),
                         [&](const TSection& o) { return &o != &s && rawOverlap(o, s); }))
            own = &s;

    TPeBytes out;
    std::uint32_t resourceRva = 0;
    std::int64_t initializedDataDelta = 0;
    auto setSizeOfImage = [&](std::uint64_t end) {
        Put32(out, FOptionalHeader + 56, To32(AlignUp(end, FSectionAlignment)));
    };

    // Sections after the resources whose only content is the relocation table, which can move.
    std::vector<const TSection*> followers;
    bool followersMovable = own != nullptr;
    if (own) {
        for (const TSection& s : FSections)
            if (s.VirtualAddress > own->VirtualAddress) followers.push_back(&s);
        std::sort(followers.begin(), followers.end(),
                  [](const TSection* a, const TSection* b) { return a->VirtualAddress < b->VirtualAddress; });
        for (const TSection& s : FSections)
            if (&s != own && s.VirtualAddress <= own->VirtualAddress && s.RawSize != 0 &&
                std::uint64_t{s.RawPointer} + s.RawSize > own->RawPointer)
                followersMovable = false;
        std::uint64_t rawCursor = std::uint64_t{own->RawPointer} + own->RawSize;
        for (const TSection* f : followers) {
            const bool relocations = f->Name == ".reloc" &&
                                     holds(*f, DataDirectoryRva(kRelocationDirectory)) &&
                                     !usedByOthers(*f, kRelocationDirectory);
            if (!relocations || (f->RawSize != 0 && f->RawPointer < rawCursor)) followersMovable = false;
            if (f->RawSize != 0) rawCursor = std::uint64_t{f->RawPointer} + f->RawSize;
        }
    }

    if (own && newSize <= own->RawSize && newSize <= AlignUp(span(*own), FSectionAlignment)) {
        // Rewritten where it is.
        out = FBytes;
        resourceRva = own->VirtualAddress;
        const TPeBytes data = SerializeResources(FResources, resourceRva);
        std::fill(out.begin() + own->RawPointer, out.begin() + own->RawPointer + own->RawSize, 0);
        std::copy(data.begin(), data.end(), out.begin() + own->RawPointer);
        Put32(out, own->HeaderOffset + 8, newSize);
    } else if (own && followersMovable) {
        // Grown where it is; the relocation sections behind it move up.
        resourceRva = own->VirtualAddress;
        const TPeBytes data = SerializeResources(FResources, resourceRva);
        const std::uint32_t rawSize = To32(AlignUp(newSize, FFileAlignment));
        out.assign(FBytes.begin(), FBytes.begin() + own->RawPointer);
        out.insert(out.end(), data.begin(), data.end());
        out.resize(std::size_t{own->RawPointer} + rawSize);
        Put32(out, own->HeaderOffset + 8, newSize);
        Put32(out, own->HeaderOffset + 16, rawSize);
        if (own->Characteristics & kInitializedData)
            initializedDataDelta += std::int64_t{rawSize} - own->RawSize;

        std::uint64_t address =
            AlignUp(std::uint64_t{own->VirtualAddress} + std::max(newSize, rawSize), FSectionAlignment);
        std::uint64_t end = address;
        for (const TSection& s : FSections)
            if (&s != own && s.VirtualAddress <= own->VirtualAddress)
                end = std::max<std::uint64_t>(end, std::uint64_t{s.VirtualAddress} + span(s));
        const std::uint32_t relocations = DataDirectoryRva(kRelocationDirectory);
        for (const TSection* f : followers) {
            if (holds(*f, relocations))
                Put32(out, DataDirectoryOffset(kRelocationDirectory),
                      To32(relocations - f->VirtualAddress + address));
            Put32(out, f->HeaderOffset + 12, To32(address));
            if (f->RawSize != 0) {
                Put32(out, f->HeaderOffset + 20, To32(out.size()));
                out.insert(out.end(), FBytes.begin() + f->RawPointer,
                           FBytes.begin() + f->RawPointer + f->RawSize);
            }
            end = std::max<std::uint64_t>(end, address + span(*f));
            address = AlignUp(address + span(*f), FSectionAlignment);
        }
        out.insert(out.end(), FBytes.begin() + static_cast<std::ptrdiff_t>(imageEnd), FBytes.end());
        setSizeOfImage(end);
    } else {
        // A new last section; an old resource section stays behind unused.
        std::uint64_t firstRaw = FSizeOfHeaders;
        for (const TSection& s : FSections)
            if (s.RawSize != 0) firstRaw = std::min<std::uint64_t>(firstRaw, s.RawPointer);
        bool room = tableEnd + kSectionEntrySize <= firstRaw &&
                    tableEnd + kSectionEntrySize <= FBytes.size() && FSections.size() < 0xFFFF;
        for (std::size_t i = tableEnd; room && i < tableEnd + kSectionEntrySize; ++i)
            room = FBytes[i] == 0;
        for (unsigned d = 0; room && d < FDirectoryCount; ++d)
            if (d != kCertificateDirectory && DataDirectoryRva(d) != 0 &&
                DataDirectoryRva(d) < tableEnd + kSectionEntrySize &&
                std::uint64_t{DataDirectoryRva(d)} + DataDirectorySize(d) > tableEnd)
                room = false;
        if (!room) throw EPeError("the section table has no room for a new resource section");

        resourceRva = To32(AlignUp(addressEnd, FSectionAlignment));
        const TPeBytes data = SerializeResources(FResources, resourceRva);
        const std::uint32_t rawSize = To32(AlignUp(newSize, FFileAlignment));
        const std::uint32_t rawPointer = To32(AlignUp(imageEnd, FFileAlignment));
        out.assign(FBytes.begin(), FBytes.begin() + static_cast<std::ptrdiff_t>(imageEnd));
        out.resize(rawPointer);
        out.insert(out.end(), data.begin(), data.end());
        out.resize(std::size_t{rawPointer} + rawSize);
        out.insert(out.end(), FBytes.begin() + static_cast<std::ptrdiff_t>(imageEnd), FBytes.end());

        const std::uint8_t name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
        std::copy(std::begin(name), std::end(name), out.begin() + static_cast<std::ptrdiff_t>(tableEnd));
        Put32(out, tableEnd + 8, newSize);
        Put32(out, tableEnd + 12, resourceRva);
        Put32(out, tableEnd + 16, rawSize);
        Put32(out, tableEnd + 20, rawPointer);
        Put32(out, tableEnd + 36, kInitializedData | kMemRead);
        Put16(out, FFileHeader + 2, static_cast<std::uint32_t>(FSections.size() + 1));
        initializedDataDelta += rawSize;
        setSizeOfImage(std::uint64_t{resourceRva} + std::max(newSize, rawSize));
    }

    Put32(out, DataDirectoryOffset(kResourceDirectory), resourceRva);
    Put32(out, DataDirectoryOffset(kResourceDirectory) + 4, newSize);
    if (initializedDataDelta != 0) {
        const std::int64_t sum = std::int64_t{Get32(out, FOptionalHeader + 8)} + initializedDataDelta;
        Put32(out, FOptionalHeader + 8, static_cast<std::uint32_t>(std::max<std::int64_t>(sum, 0)));
    }
    // A zero checksum means "not computed"; any other is kept true.
    if (Checksum() != 0) {
        Put32(out, ChecksumOffset(), 0);
        Put32(out, ChecksumOffset(), ComputePeChecksum(out, ChecksumOffset()));
    }
    return out;
}

} // namespace Corvane::Shared
