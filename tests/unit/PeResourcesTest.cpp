// Reading and rebuilding the resources of PE files: the runtime's own resources as a linker wrote
// them, rebuilds in place, grown, and in a new section, and damaged files.
#include "shared/PeResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "PeFixtures.h"

using namespace Corvane::Shared;
using namespace PeFixtures;

namespace {

struct TSectionView {
    std::string Name;
    std::uint32_t VirtualSize, VirtualAddress, RawSize, RawPointer;
};

// The headers as a reader independent of the editor sees them.
struct THeaders {
    explicit THeaders(const TBytes& b) {
        const std::uint32_t pe = Get32(b, 0x3C);
        const std::size_t fileHeader = pe + 4;
        const unsigned count = b[fileHeader + 2] | b[fileHeader + 3] << 8;
        const unsigned optionalSize = b[fileHeader + 16] | b[fileHeader + 17] << 8;
        Optional = fileHeader + 20;
        Is64 = (b[Optional] | b[Optional + 1] << 8) == 0x20B;
        SectionAlignment = Get32(b, Optional + 32);
        SizeOfImage = Get32(b, Optional + 56);
        Checksum = Get32(b, Optional + 64);
        const std::size_t directories = Optional + (Is64 ? 112 : 96);
        for (unsigned d = 0; d < 6; ++d)
            Directories[d] = {Get32(b, directories + 8 * d), Get32(b, directories + 8 * d + 4)};
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t at = fileHeader + 20 + optionalSize + 40 * i;
            std::string name(reinterpret_cast<const char*>(&b[at]), 8);
            name.resize(std::strlen(name.c_str()));
            Sections.push_back(
                {name, Get32(b, at + 8), Get32(b, at + 12), Get32(b, at + 16), Get32(b, at + 20)});
        }
    }
    const TSectionView& Section(const std::string& name) const {
        const auto it =
            std::find_if(Sections.rbegin(), Sections.rend(), [&](const auto& s) { return s.Name == name; });
        return *it;
    }
    std::uint32_t ImageEnd() const {
        std::uint32_t end = 0;
        for (const auto& s : Sections)
            end = std::max(end, s.VirtualAddress + std::max(s.VirtualSize, s.RawSize));
        return (end + SectionAlignment - 1) / SectionAlignment * SectionAlignment;
    }

    std::size_t Optional;
    bool Is64;
    std::uint32_t SectionAlignment, SizeOfImage, Checksum;
    std::pair<std::uint32_t, std::uint32_t> Directories[6];
    std::vector<TSectionView> Sections;
};

using TResourceKey = std::tuple<std::string, std::string, std::uint16_t>;

std::map<TResourceKey, TBytes> ResourceMap(const TPeImage& image) {
    std::map<TResourceKey, TBytes> map;
    for (const TResource& r : image.Resources())
        map[{r.Type.ToString(), r.Name.ToString(), r.Language}] = *r.Data;
    return map;
}

TBytes RawOf(const TBytes& file, const TSectionView& s) {
    return TBytes(file.begin() + s.RawPointer, file.begin() + s.RawPointer + s.RawSize);
}

// Checks what every rebuilt image must satisfy, and returns it parsed again.
TPeImage CheckConsistent(const TBytes& built) {
    const THeaders h(built);
    EXPECT_EQ(h.SizeOfImage, h.ImageEnd());
    if (h.Checksum != 0) {
        EXPECT_EQ(h.Checksum, ComputePeChecksum(built, h.Optional + 64));
    }
    const auto& [rva, size] = h.Directories[2];
    const bool inSection = std::any_of(h.Sections.begin(), h.Sections.end(), [&](const auto& s) {
        return s.VirtualAddress == rva && size <= s.VirtualSize && size <= s.RawSize;
    });
    EXPECT_TRUE(inSection) << "the resource directory is not the start of a section";
    return TPeImage::FromBytes(built);
}

// Where MinimalPe(false) has its optional header and its one section's entry: headers in 0x200
// bytes, section alignment 0x1000, file alignment 0x200, one code section (VirtualSize 0x10 at
// 0x1000, 0x200 raw bytes at 0x200).
constexpr std::size_t kOptional32 = 0x58;
constexpr std::size_t kSection32 = kOptional32 + 224;

} // namespace

TEST(PeResources, ReadsTheRuntimesResourcesAsTheLinkerWroteThem) {
    CRV_NEED_FIXTURE(path, "tiny-res.exe");
    const TPeImage image = TPeImage::Load(path.string());
    EXPECT_TRUE(image.Is64());

    std::vector<TResourceKey> keys;
    for (const auto& [key, data] : ResourceMap(image))
        keys.push_back(key);
    std::vector<TResourceKey> expected;
    for (int id = 1; id <= 9; ++id)
        expected.emplace_back("3", std::to_string(id), 1033);
    expected.emplace_back("10", "CRV_EXTERNAL_JAVASCRIPT", 1033);
    expected.emplace_back("10", "CRV_KEY_16", 1033);
    expected.emplace_back("10", "CRV_KEY_32", 1033);
    expected.emplace_back("14", "MAINICON", 1033);
    expected.emplace_back("16", "1", 1033);
    expected.emplace_back("24", "1", 1033); // the manifest
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(keys, expected);

    // Names are found without regard to case, and the group lists images 1 to 9.
    const TResource* group = image.Find(kRtGroupIcon, TResId(u"MainIcon"), 1033);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->Data->size(), 6u + 14 * 9);
    for (unsigned i = 0; i < 9; ++i)
        EXPECT_EQ((*group->Data)[6 + 14 * i + 12], i + 1);
    EXPECT_EQ(image.Languages(kRtGroupIcon, TResId(u"MAINICON")), std::vector<std::uint16_t>{1033});
    EXPECT_EQ(image.FindAnyLanguage(kRtVersion, 1), image.Find(kRtVersion, 1, 1033));
    EXPECT_EQ(image.Find(kRtVersion, 1, 0), nullptr);
}

TEST(PeResources, ChecksumAgreesWithTheLinkers) {
    CRV_NEED_FIXTURE(path, "tiny-res.exe");
    const TBytes file = ReadBytes(path);
    const THeaders h(file);
    ASSERT_NE(h.Checksum, 0u);
    EXPECT_EQ(ComputePeChecksum(file, h.Optional + 64), h.Checksum);
    // An odd length counts the last byte as a word of its own.
    const TBytes odd = {1, 2, 3};
    EXPECT_EQ(ComputePeChecksum(odd, 100), 0x0201u + 3 + 3);
}

TEST(PeResources, UnchangedRebuildKeepsEveryByteOutsideTheResources) {
    CRV_NEED_FIXTURE(path, "tiny-res.exe");
    const TBytes original = ReadBytes(path);
    const TPeImage image = TPeImage::FromBytes(original);
    const TBytes built = image.Build();
    const TPeImage again = CheckConsistent(built);
    EXPECT_EQ(ResourceMap(again), ResourceMap(image));

    // Only the resource section's bytes, its virtual size, the directory size and the checksum may
    // differ.
    ASSERT_EQ(built.size(), original.size());
    const THeaders h(original);
    const auto& rsrc = h.Section(".rsrc");
    std::size_t differing = 0;
    for (std::size_t i = 0; i < original.size(); ++i)
        if (built[i] != original[i] && (i < rsrc.RawPointer || i >= rsrc.RawPointer + rsrc.RawSize))
            ++differing;
    EXPECT_LE(differing, 12u);
    EXPECT_EQ(THeaders(built).Sections.size(), h.Sections.size());
    // Building what was built gives the same bytes.
    EXPECT_EQ(again.Build(), built);
}

TEST(PeResources, SmallerResourcesStayInTheirSection) {
    CRV_NEED_FIXTURE(path, "tiny-res.exe");
    const TBytes original = ReadBytes(path);
    TPeImage image = TPeImage::FromBytes(original);
    ASSERT_TRUE(image.Remove(kRtIcon, 8, 1033));
    EXPECT_FALSE(image.Remove(kRtIcon, 8, 1033));
    const TBytes built = image.Build();
    const TPeImage again = CheckConsistent(built);
    EXPECT_EQ(ResourceMap(again), ResourceMap(image));
    EXPECT_EQ(built.size(), original.size());
    const THeaders before(original), after(built);
    EXPECT_EQ(RawOf(built, after.Section(".reloc")), RawOf(original, before.Section(".reloc")));
    EXPECT_EQ(after.Section(".reloc").VirtualAddress, before.Section(".reloc").VirtualAddress);
    EXPECT_LT(after.Section(".rsrc").VirtualSize, before.Section(".rsrc").VirtualSize);
}

TEST(PeResources, GrowingMovesTheRelocationsBehindTheResources) {
    CRV_NEED_FIXTURE(path, "tiny-res.exe");
    const TBytes original = ReadBytes(path);
    TPeImage image = TPeImage::FromBytes(original);
    TBytes big(300000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    image.Set(10, TResId(u"big"), 1033, big);
    const TBytes built = image.Build();
    const TPeImage again = CheckConsistent(built);
    EXPECT_EQ(ResourceMap(again), ResourceMap(image));
    ASSERT_NE(again.Find(10, TResId(u"BIG"), 1033), nullptr);

    const THeaders before(original), after(built);
    ASSERT_EQ(after.Sections.size(), before.Sections.size());
    const auto& rsrc = after.Section(".rsrc");
    const auto& reloc = after.Section(".reloc");
    EXPECT_EQ(rsrc.VirtualAddress, before.Section(".rsrc").VirtualAddress);
    EXPECT_GE(rsrc.RawSize, 300000u);
    EXPECT_EQ(reloc.VirtualAddress, (rsrc.VirtualAddress + rsrc.VirtualSize + 0xFFF) / 0x1000 * 0x1000);
    EXPECT_EQ(reloc.RawPointer, rsrc.RawPointer + rsrc.RawSize);
    EXPECT_EQ(RawOf(built, reloc), RawOf(original, before.Section(".reloc")));
    EXPECT_EQ(after.Directories[5].first - reloc.VirtualAddress,
              before.Directories[5].first - before.Section(".reloc").VirtualAddress);
    EXPECT_EQ(after.Directories[5].second, before.Directories[5].second);
    // The code and the other data have not moved.
    for (const char* name : {".text", ".data", ".rdata", ".idata"}) {
        EXPECT_EQ(RawOf(built, after.Section(name)), RawOf(original, before.Section(name))) << name;
        EXPECT_EQ(after.Section(name).VirtualAddress, before.Section(name).VirtualAddress) << name;
    }
}

TEST(PeResources, AnImageWithoutResourcesGetsANewLastSection) {
    CRV_NEED_FIXTURE(path, "tiny.exe");
    const TBytes original = ReadBytes(path);
    TPeImage image = TPeImage::FromBytes(original);
    ASSERT_TRUE(image.Resources().empty());
    image.Set(kRtVersion, 1, 0, TBytes{1, 2, 3});
    const TBytes built = image.Build();
    const TPeImage again = CheckConsistent(built);
    EXPECT_EQ(ResourceMap(again), ResourceMap(image));

    const THeaders before(original), after(built);
    ASSERT_EQ(after.Sections.size(), before.Sections.size() + 1);
    EXPECT_EQ(after.Sections.back().Name, ".rsrc");
    EXPECT_EQ(after.Directories[2].first, after.Sections.back().VirtualAddress);
    EXPECT_TRUE(std::equal(original.begin() + 0x400, original.end(), built.begin() + 0x400));
}

TEST(PeResources, Pe32ImagesAreReadAndWrittenToo) {
    TBytes pe = MinimalPe(false);
    pe[0x200] = 0xC3;

    TPeImage image = TPeImage::FromBytes(pe);
    EXPECT_FALSE(image.Is64());
    image.Set(kRtGroupIcon, TResId(u"MAINICON"), 1033, TBytes{0, 0, 1, 0, 0, 0});
    image.Set(kRtIcon, 1, 1033, TBytes(5000, 0xAB));
    const TBytes built = image.Build();
    const TPeImage again = CheckConsistent(built);
    EXPECT_EQ(ResourceMap(again), ResourceMap(image));
    const THeaders h(built);
    EXPECT_EQ(h.Checksum, 0u); // a zero checksum stays "not computed"
    EXPECT_EQ(h.Directories[2].first, 0x2000u);
    EXPECT_EQ(h.SizeOfImage, 0x4000u);
    EXPECT_EQ(built[0x200], 0xC3);
}

// Images whose layout the writer once got wrong: fields patched past the end of the new file,
// headers zero-filled, a section at address 0, a section inside another's raw tail.
TEST(PeResources, OddLayoutsAreRefusedOrWrittenSoTheyReadBack) {
    auto withSection = [](std::uint32_t virtualSize, std::uint32_t address, std::uint32_t rawSize,
                          std::uint32_t rawPointer) {
        TBytes pe = MinimalPe(false);
        Put32(pe, kSection32 + 8, virtualSize);
        Put32(pe, kSection32 + 12, address);
        Put32(pe, kSection32 + 16, rawSize);
        Put32(pe, kSection32 + 20, rawPointer);
        if (pe.size() < std::size_t{rawPointer} + rawSize) pe.resize(std::size_t{rawPointer} + rawSize);
        return pe;
    };
    // A resource section whose raw bytes start at 0: the empty directory it finds there is the
    // DOS header's zeros.
    auto resourcesOverHeaders = [&](std::uint32_t rawSize, std::uint32_t fileAlignment) {
        TBytes pe = withSection(0x100, 0x1000, rawSize, 0);
        Put32(pe, kOptional32 + 36, fileAlignment);
        Put32(pe, kOptional32 + 96 + 16, 0x1000);
        return pe;
    };
    const struct {
        const char* what;
        TBytes pe;
        std::size_t dataSize;
    } refused[] = {
        {"rewritten in place over the headers", resourcesOverHeaders(0x200, 0x200), 8},
        {"grown with the headers behind its raw data", resourcesOverHeaders(0x20, 0x10), 0x30},
    };
    for (const auto& c : refused) {
        TPeImage image = TPeImage::FromBytes(c.pe);
        image.Set(kRtVersion, 1, 0, TBytes(c.dataSize, 0x5A));
        EXPECT_THROW(image.Build(), EPeError) << c.what;
    }

    const struct {
        const char* what;
        TBytes pe;
        std::uint32_t firstFreeAddress;
    } written[] = {
        {"no section with an address range", withSection(0, 0, 0, 0), 0x200},
        {"raw data longer than the virtual size", withSection(0x10, 0x1000, 0x1400, 0x200), 0x2400},
    };
    for (const auto& c : written) {
        TPeImage image = TPeImage::FromBytes(c.pe);
        image.Set(kRtVersion, 1, 0, TBytes{1, 2, 3});
        const TBytes built = image.Build();
        const TPeImage again = CheckConsistent(built);
        EXPECT_EQ(ResourceMap(again), ResourceMap(image)) << c.what;
        EXPECT_GE(THeaders(built).Directories[2].first, c.firstFreeAddress) << c.what;
    }
}

// Every leaf of a directory that shares its subdirectories copies the same 64 KiB: 40,000 of them.
TEST(PeResources, SharedDataIsNotCopiedWithoutBound) {
    constexpr std::uint32_t kCount = 200, kDataSize = 0x10000;
    constexpr std::uint32_t kNames = 0x18, kLanguages = kNames + 16 + 8 * kCount;
    constexpr std::uint32_t kLeaf = kLanguages + 16 + 8 * kCount, kData = kLeaf + 16;
    TBytes area(kData + kDataSize);
    Put16(area, 14, 1);
    Put32(area, 16, kRtIcon);
    Put32(area, 20, 0x80000000u | kNames);
    Put16(area, kNames + 14, kCount);
    Put16(area, kLanguages + 14, kCount);
    for (std::uint32_t i = 0; i < kCount; ++i) {
        Put32(area, kNames + 16 + 8 * i, i + 1);
        Put32(area, kNames + 20 + 8 * i, 0x80000000u | kLanguages);
        Put32(area, kLanguages + 16 + 8 * i, i);
        Put32(area, kLanguages + 20 + 8 * i, kLeaf);
    }
    Put32(area, kLeaf, 0x1000 + kData);
    Put32(area, kLeaf + 4, kDataSize);

    TBytes pe = MinimalPe(false);
    pe.resize(0x200);
    pe.insert(pe.end(), area.begin(), area.end());
    Put32(pe, kSection32 + 8, static_cast<std::uint32_t>(area.size()));
    Put32(pe, kSection32 + 16, static_cast<std::uint32_t>(area.size()));
    Put32(pe, kOptional32 + 96 + 16, 0x1000);
    EXPECT_THROW(TPeImage::FromBytes(pe), EPeError);

    // The same tree with one name is an ordinary directory of 200 languages.
    Put16(pe, 0x200 + kNames + 14, 1);
    EXPECT_EQ(TPeImage::FromBytes(pe).Resources().size(), kCount);
}

TEST(PeResources, DamagedFilesAreRefusedWithoutReadingOutsideThem) {
    CRV_NEED_FIXTURE(path, "tiny-res.exe");
    const TBytes original = ReadBytes(path);
    const THeaders h(original);

    auto withRoot = [&](std::uint32_t rva) {
        TBytes b = original;
        Put32(b, h.Optional + 112 + 16, rva);
        return b;
    };
    auto withSubdirectory = [&](std::uint32_t offset) {
        TBytes b = original;
        Put32(b, h.Section(".rsrc").RawPointer + 16 + 4, 0x80000000u | offset);
        return b;
    };
    const std::vector<std::pair<const char*, TBytes>> cases = {
        {"empty", {}},
        {"no PE signature", TBytes(original.begin(), original.begin() + 0x80)},
        {"cut inside the section table", TBytes(original.begin(), original.begin() + 0x200)},
        {"cut inside the sections", TBytes(original.begin(), original.begin() + original.size() / 2)},
        {"resource directory outside the image", withRoot(0x7FFF0000)},
        {"subdirectory outside the section", withSubdirectory(0x7FFFFFF0)},
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_THROW(TPeImage::FromBytes(bytes), EPeError) << what;

    // Scrambled directory bytes end in an error or a valid reading, never outside the file.
    std::uint32_t seed = 12345;
    for (int round = 0; round < 300; ++round) {
        TBytes b = original;
        for (int k = 0; k < 4; ++k) {
            seed = seed * 1103515245 + 12345;
            b[h.Section(".rsrc").RawPointer + (seed >> 8) % 0x280] = static_cast<std::uint8_t>(seed >> 3);
        }
        try {
            const TPeImage image = TPeImage::FromBytes(b);
            for (const TResource& r : image.Resources()) {
                if (r.Data) {
                    EXPECT_LE(r.Data->size(), b.size());
                }
            }
        } catch (const EPeError&) {
        }
    }
}

TEST(ResourceUpdate, CommitReplacesTheFileAndKeepsItsPermissions) {
    CRV_NEED_FIXTURE(path, "tiny-res.exe");
    TTempDir dir;
    const auto exe = dir.Copy(path, "app.exe");
    std::filesystem::permissions(exe, std::filesystem::perms::owner_all | std::filesystem::perms::group_read);
    const TBytes original = ReadBytes(exe);

    {
        TResourceUpdate update(exe.string(), false);
        update.Update(kRtVersion, 1, 1033, std::nullopt);
        const TBytes data{9, 8, 7};
        update.Update(10, TResId(u"extra"), 0, std::span<const std::uint8_t>(data));
        // Not committed: nothing happens.
    }
    EXPECT_EQ(ReadBytes(exe), original);

    TResourceUpdate update(exe.string(), false);
    update.Update(kRtVersion, 1, 1033, std::nullopt);
    update.Update(kRtVersion, 7, 1033, std::nullopt); // nothing to delete
    const TBytes data{9, 8, 7};
    update.Update(10, TResId(u"extra"), 0, std::span<const std::uint8_t>(data));
    update.Commit();

    const TPeImage image = TPeImage::Load(exe.string());
    EXPECT_EQ(image.Find(kRtVersion, 1, 1033), nullptr);
    ASSERT_NE(image.Find(10, TResId(u"EXTRA"), 0), nullptr);
    EXPECT_EQ(*image.Find(10, TResId(u"EXTRA"), 0)->Data, data);
    EXPECT_EQ(image.Resources().size(), 15u);
#if !defined(_WIN32) // Windows keeps no permission bits beyond read-only.
    EXPECT_EQ(std::filesystem::status(exe).permissions(),
              std::filesystem::perms::owner_all | std::filesystem::perms::group_read);
#endif
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    TResourceUpdate empty(exe.string(), true);
    EXPECT_TRUE(empty.Image().Resources().empty());
}

TEST(ResourceUpdate, AFileWithAnAppendedArchiveIsRefused) {
    CRV_NEED_FIXTURE(path, "tiny-res.exe");
    TTempDir dir;
    const auto exe = dir.Copy(path, "package.exe");
    TBytes bytes = ReadBytes(exe);
    bytes.insert(bytes.end(), {'P', 'K', 5, 6, 0, 0, 0, 0});
    WriteBytes(exe, bytes);
    try {
        TResourceUpdate update(exe.string(), false);
        FAIL() << "no error";
    } catch (const EPeError& e) {
        EXPECT_NE(std::string(e.what()).find("already carries an appended archive"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(ReadBytes(exe), bytes);
    EXPECT_THROW(TResourceUpdate((dir.Path() / "none.exe").string(), false), EPeError);
}
