// Where an executable image ends: real ELF and PE files, and hand-made headers, damaged ones too.
#include "shared/ExeImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace Corvane::Shared;

namespace {

using TBuffer = std::vector<std::uint8_t>;

// Writes integers of either byte order at fixed offsets, growing the buffer as needed.
struct TImageBuilder {
    TBuffer Bytes;
    bool BigEndian = false;

    void Put(std::uint64_t offset, std::uint64_t value, unsigned width) {
        if (Bytes.size() < offset + width) Bytes.resize(offset + width);
        for (unsigned i = 0; i < width; ++i) {
            const unsigned shift = BigEndian ? 8 * (width - 1 - i) : 8 * i;
            Bytes[offset + i] = static_cast<std::uint8_t>(value >> shift);
        }
    }
    void Put16(std::uint64_t offset, std::uint64_t value) { Put(offset, value, 2); }
    void Put32(std::uint64_t offset, std::uint64_t value) { Put(offset, value, 4); }
    void Put64(std::uint64_t offset, std::uint64_t value) { Put(offset, value, 8); }
    void PadTo(std::uint64_t size) {
        if (Bytes.size() < size) Bytes.resize(size);
    }
};

struct TSection {
    std::uint32_t Type;
    std::uint64_t Offset, Size;
};
struct TSegment {
    std::uint64_t Offset, FileSize;
};

constexpr std::uint32_t kProgBits = 1, kNoBits = 8;

// An ELF file with the given tables; the section header table goes where shOffset says.
TImageBuilder MakeElf(bool is64, bool bigEndian, std::vector<TSection> sections,
                      std::vector<TSegment> segments, std::uint64_t shOffset, std::uint64_t phOffset) {
    TImageBuilder b;
    b.BigEndian = bigEndian;
    b.Bytes = {0x7F,
               'E',
               'L',
               'F',
               static_cast<std::uint8_t>(is64 ? 2 : 1),
               static_cast<std::uint8_t>(bigEndian ? 2 : 1),
               1};
    const std::uint64_t shEntry = is64 ? 64 : 40, phEntry = is64 ? 56 : 32;
    auto word = [&](std::uint64_t offset, std::uint64_t value) {
        is64 ? b.Put64(offset, value) : b.Put32(offset, value);
    };
    const std::uint64_t fields = is64 ? 0x34 : 0x28;
    b.Put16(0x10, 2); // ET_EXEC
    word(is64 ? 0x20 : 0x1C, segments.empty() ? 0 : phOffset);
    word(is64 ? 0x28 : 0x20, sections.empty() ? 0 : shOffset);
    b.Put16(fields, is64 ? 64 : 52);
    b.Put16(fields + 2, phEntry);
    b.Put16(fields + 4, segments.size());
    b.Put16(fields + 6, shEntry);
    b.Put16(fields + 8, sections.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const std::uint64_t e = phOffset + i * phEntry;
        b.Put32(e, 1); // PT_LOAD
        word(e + (is64 ? 0x08 : 0x04), segments[i].Offset);
        word(e + (is64 ? 0x20 : 0x10), segments[i].FileSize);
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::uint64_t e = shOffset + i * shEntry;
        b.Put32(e + 4, sections[i].Type);
        word(e + (is64 ? 0x18 : 0x10), sections[i].Offset);
        word(e + (is64 ? 0x20 : 0x14), sections[i].Size);
    }
    b.PadTo(is64 ? 64 : 52);
    if (!segments.empty()) b.PadTo(phOffset + segments.size() * phEntry);
    if (!sections.empty()) b.PadTo(shOffset + sections.size() * shEntry);
    return b;
}

struct TRawSection {
    std::uint32_t Pointer, Size;
};

// A PE file: DOS header, signature at peOffset, COFF header, an optional header of optSize bytes
// and the section table.
TImageBuilder MakePe(std::uint32_t peOffset, std::uint16_t optSize, std::vector<TRawSection> sections) {
    TImageBuilder b;
    b.Bytes = {'M', 'Z'};
    b.Put32(0x3C, peOffset);
    b.Put32(peOffset, 0x00004550);
    b.Put16(peOffset + 4, 0x8664);
    b.Put16(peOffset + 4 + 2, sections.size());
    b.Put16(peOffset + 4 + 16, optSize);
    const std::uint64_t table = peOffset + 4 + 20 + optSize;
    b.PadTo(table);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        b.Put32(table + i * 40 + 16, sections[i].Size);
        b.Put32(table + i * 40 + 20, sections[i].Pointer);
    }
    b.PadTo(table + sections.size() * 40);
    return b;
}

class ExeImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = std::filesystem::temp_directory_path() /
               ("crv-exeimage-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(FDir);
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }

    std::string Write(const std::string& name, const TBuffer& bytes) {
        const auto path = FDir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    std::filesystem::path FDir;
};

#if !defined(_WIN32)
// Runs a command and returns its standard output; nothing when it cannot run or fails.
std::optional<std::string> Capture(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    if (pclose(pipe) != 0) return std::nullopt;
    return out;
}

std::uint64_t Field(const std::string& text, const std::string& label) {
    const auto at = text.find(label);
    if (at == std::string::npos) return 0;
    return std::stoull(text.substr(at + label.size()));
}
#endif

} // namespace

#if !defined(_WIN32)
// ld writes the section header table last, so a linked ELF ends exactly where that table ends;
// readelf gives the table's place independently of our reader.
TEST_F(ExeImageTest, LinkedElfEndsAtItsSectionHeaderTable) {
    std::vector<std::string> binaries = {CRV_TEST_BIN_DIR "/crv-runtime",
                                         std::filesystem::read_symlink("/proc/self/exe")};
    for (const auto& path : binaries) {
        SCOPED_TRACE(path);
        const auto info = ReadExeImageInfo(path);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->Format, TExeFormat::ELF);
        EXPECT_EQ(info->ImageEnd, std::filesystem::file_size(path));

        const auto header = Capture("readelf -h '" + path + "' 2>/dev/null");
        if (!header) continue;
        const std::uint64_t tableEnd =
            Field(*header, "Start of section headers:") +
            Field(*header, "Number of section headers:") * Field(*header, "Size of section headers:");
        EXPECT_EQ(info->ImageEnd, tableEnd);
    }
}
#else
// The Windows build strips its programs, so the raw data of the last section ends each of them;
// a symbol table after it would read as an appended archive.
TEST_F(ExeImageTest, LinkedPeEndsAfterItsLastSection) {
    for (const char* name : {"crv-runtime.exe", "unit-ExeImageTest.exe"}) {
        const std::string path = std::string(CRV_TEST_BIN_DIR "/") + name;
        if (!std::filesystem::exists(path)) continue;
        SCOPED_TRACE(path);
        const auto info = ReadExeImageInfo(path);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->Format, TExeFormat::PE);
        EXPECT_EQ(info->ImageEnd, std::filesystem::file_size(path));
    }
}
#endif

// The fixture is stripped, so no COFF symbol table follows the sections: the raw data of the last
// section ends the file. objdump's section table gives the same end independently.
TEST_F(ExeImageTest, PeFixtureEndsAfterItsLastSection) {
    const std::string path = CRV_TEST_FIXTURE_DIR "/tiny.exe";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no mingw-w64, so no PE fixture";
    const auto info = ReadExeImageInfo(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Format, TExeFormat::PE);
    EXPECT_EQ(info->ImageEnd, std::filesystem::file_size(path));
}

TEST_F(ExeImageTest, HandMadeHeaders) {
    const std::uint64_t huge = ~std::uint64_t{0} - 10;
    struct TCase {
        const char* Name;
        std::function<TBuffer()> Make;
        std::optional<std::uint64_t> Expected;
    };
    const std::vector<TCase> cases = {
        // PE: the furthest raw end in any order, none without sections.
        {"pe two sections, furthest first",
         [] {
             return MakePe(0x80, 0xF0, {{0x400, 0x1200}, {0x200, 0x200}}).Bytes;
         },
         0x1600},
        {"pe no sections", [] { return MakePe(0x40, 0xF0, {}).Bytes; }, 0},
        {"pe empty optional header",
         [] {
             return MakePe(0x40, 0, {{0x100, 0x10}}).Bytes;
         },
         0x110},
        {"pe raw data past the end still counts",
         [] {
             return MakePe(0x40, 0, {{0x100000, 0x10}}).Bytes;
         },
         0x100010},
        {"pe e_lfanew past the end",
         [] {
             auto b = MakePe(0x40, 0, {{0x100, 0x10}});
             b.Put32(0x3C, 0x7FFFFFF0);
             return b.Bytes;
         },
         std::nullopt},
        {"pe section table outside the file",
         [] {
             auto b = MakePe(0x40, 0, {{0x100, 0x10}});
             b.Put16(0x40 + 4 + 2, 500);
             return b.Bytes;
         },
         std::nullopt},
        {"pe optional header size past the end",
         [] {
             auto b = MakePe(0x40, 0, {{0x100, 0x10}});
             b.Put16(0x40 + 4 + 16, 0xFFFF);
             return b.Bytes;
         },
         std::nullopt},
        {"pe bad signature",
         [] {
             auto b = MakePe(0x40, 0, {{0x100, 0x10}});
             b.Put32(0x40, 0x00004544);
             return b.Bytes;
         },
         std::nullopt},
        {"pe truncated dos header", [] { return TBuffer{'M', 'Z', 0, 0, 0, 0}; }, std::nullopt},
        {"pe truncated section table",
         [] {
             auto b = MakePe(0x40, 0, {{0x100, 0x10}, {0x200, 0x10}});
             b.Bytes.resize(b.Bytes.size() - 1);
             return b.Bytes;
         },
         std::nullopt},

        // ELF: header tables, contents without NOBITS, segments; both classes and byte orders.
        {"elf64 le",
         [] {
             auto b = MakeElf(true, false, {{kProgBits, 0x100, 0x80}, {kNoBits, 0x180, 0x100000}},
                              {{0, 0x150}}, 0x200, 0x40);
             return b.Bytes;
         },
         0x200 + 2 * 64},
        {"elf32 be, a segment reaching furthest",
         [] {
             auto b = MakeElf(false, true, {{kProgBits, 0x100, 0x80}}, {{0x0, 0x1000}}, 0x200, 0x34);
             return b.Bytes;
         },
         0x1000},
        {"elf32 le, section contents after the tables",
         [] {
             auto b = MakeElf(false, false, {{kProgBits, 0x300, 0x20}}, {}, 0x100, 0);
             b.PadTo(0x320);
             return b.Bytes;
         },
         0x320},
        {"elf64 be without tables ends after its header",
         [] { return MakeElf(true, true, {}, {}, 0, 0).Bytes; }, 64},
        {"elf64 section count in section 0",
         [] {
             // e_shnum 0: the count is section 0's sh_size, which is no content size.
             auto b = MakeElf(true, false, {{0, 0, 3}, {kProgBits, 0x400, 0x10}, {kProgBits, 0x80, 0x10}}, {},
                              0x100, 0);
             b.Put16(0x3C, 0);
             b.PadTo(0x410);
             return b.Bytes;
         },
         0x410},
        {"elf section header table outside the file",
         [] {
             auto b = MakeElf(true, false, {{kProgBits, 0x100, 0x10}}, {}, 0x200, 0);
             b.Put64(0x28, 0x100000);
             return b.Bytes;
         },
         std::nullopt},
        {"elf program header table outside the file",
         [] {
             auto b = MakeElf(true, false, {}, {{0, 0x10}}, 0, 0x40);
             b.Put16(0x38, 0x7000);
             return b.Bytes;
         },
         std::nullopt},
        {"elf section end overflows",
         [&huge] {
             return MakeElf(true, false, {{kProgBits, huge, 0x100}}, {}, 0x40, 0).Bytes;
         },
         std::nullopt},
        {"elf segment end overflows",
         [&huge] {
             return MakeElf(true, false, {}, {{0x10, huge}}, 0, 0x40).Bytes;
         },
         std::nullopt},
        {"elf entry size too small",
         [] {
             auto b = MakeElf(true, false, {{kProgBits, 0x100, 0x10}}, {}, 0x200, 0);
             b.Put16(0x3A, 8);
             return b.Bytes;
         },
         std::nullopt},
        {"elf truncated header", [] { return TBuffer{0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0}; }, std::nullopt},
        {"elf unknown class",
         [] {
             auto b = MakeElf(true, false, {}, {}, 0, 0);
             b.Bytes[4] = 3;
             return b.Bytes;
         },
         std::nullopt},

        {"empty file", [] { return TBuffer{}; }, std::nullopt},
        {"text", [] { return TBuffer{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}; },
         std::nullopt},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto info = ReadExeImageInfo(Write("case" + std::to_string(n++), c.Make()));
        ASSERT_EQ(info.has_value(), c.Expected.has_value());
        if (info) {
            EXPECT_EQ(info->ImageEnd, *c.Expected);
        }
    }
}

TEST_F(ExeImageTest, MissingFileOrFolderGivesNothing) {
    EXPECT_FALSE(ReadExeImageInfo((FDir / "missing").string()));
    EXPECT_FALSE(ReadExeImageInfo(FDir.string()));
}
