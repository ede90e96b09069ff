// Version blocks: the runtime's block as the resource compiler wrote it, lookups as the system's
// version functions make them, writing a tree back, and damaged blocks.
#include "shared/VersionInfo.h"

#include <gtest/gtest.h>

#include "PeFixtures.h"
#include "shared/PeResources.h"

using namespace Corvane::Shared;

namespace {

std::vector<std::uint8_t> RuntimeBlock() {
    const std::filesystem::path path = PeFixtures::Fixture("tiny-res.exe");
    if (path.empty()) return {};
    const TPeImage image = TPeImage::Load(path.string());
    return *image.Find(kRtVersion, 1, kLangEnglishUs)->Data;
}

} // namespace

TEST(VersionInfo, TheRuntimesBlockHoldsReservedBlankValues) {
    const auto block = RuntimeBlock();
    if (block.empty()) GTEST_SKIP() << "tiny-res.exe was not built (no mingw-w64)";

    const auto fixed = ReadFixedFileInfo(block);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->FileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->FileVersionLS, 0u);
    EXPECT_EQ(fixed->ProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->FileType, 1u); // application
    EXPECT_EQ(fixed->FileOS, 4u);   // 32-bit Windows
    EXPECT_EQ(ReadTranslations(block),
              (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x0409, 0x04E4}}));

    const std::u16string blank = std::u16string(255, u' ') + u'\0';
    for (const char* key : {"CompanyName", "FileDescription", "InternalName", "LegalCopyright",
                            "LegalTrademarks", "OriginalFilename", "ProgramID", "ProductName", "Comments"})
        EXPECT_EQ(QueryVersionText(block, std::string("\\StringFileInfo\\040904E4\\") + key), blank) << key;
    EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040904E4\\FileVersion"),
              std::u16string(u"1.0.0.0\0", 8));
    EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040904E4\\ProductVersion"),
              std::u16string(u"1.0.0.0\0", 8));

    // Keys match without regard to case; a wrong table or key finds nothing.
    const auto slot = QueryVersionValue(block, "\\stringfileinfo\\040904e4\\OriginalFileName");
    ASSERT_TRUE(slot);
    EXPECT_TRUE(slot->IsText);
    EXPECT_EQ(slot->Length, 256u);
    EXPECT_FALSE(QueryVersionValue(block, "\\StringFileInfo\\040904B0\\ProductName"));
    EXPECT_FALSE(QueryVersionValue(block, "\\StringFileInfo\\040904E4\\Product"));
    EXPECT_FALSE(QueryVersionValue(block, "\\StringFileInfo\\040904E4\\ProductName\\More"));
}

TEST(VersionInfo, ParsingAndWritingGiveTheSameBlock) {
    const auto block = RuntimeBlock();
    if (block.empty()) GTEST_SKIP() << "tiny-res.exe was not built (no mingw-w64)";
    const auto tree = ParseVersionBlock(block);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->Key, u"VS_VERSION_INFO");
    ASSERT_EQ(tree->Children.size(), 2u);
    EXPECT_EQ(tree->Children[0].Children[0].Children.size(), 11u);
    EXPECT_EQ(WriteVersionBlock(*tree), block);
}

TEST(VersionInfo, WrittenTreesAreFoundAgain) {
    auto text = [](std::u16string s) {
        std::vector<std::uint8_t> bytes;
        for (char16_t c : s)
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8)});
        return bytes;
    };
    TVersionNode root{u"VS_VERSION_INFO", false, std::vector<std::uint8_t>(52, 0), {}};
    root.Children.push_back(
        {u"StringFileInfo",
         true,
         {},
         {{u"04070000", true, {}, {{u"Firma", true, text(std::u16string(u"Bäcker\0", 7)), {}}}}}});
    root.Children.push_back({u"VarFileInfo", true, {}, {{u"Translation", false, {0x07, 0x04, 0, 0}, {}}}});
    const auto block = WriteVersionBlock(root);
    EXPECT_EQ(block.size() % 4, 0u);
    EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\04070000\\FIRMA"), std::u16string(u"Bäcker\0", 7));
    EXPECT_EQ(ReadTranslations(block), (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x0407, 0}}));
    EXPECT_FALSE(ReadFixedFileInfo(block)); // no signature in the fixed part
}

TEST(VersionInfo, DamagedBlocksFindNothingOutsideThemselves) {
    const auto block = RuntimeBlock();
    if (block.empty()) GTEST_SKIP() << "tiny-res.exe was not built (no mingw-w64)";
    for (std::size_t cut = 0; cut < block.size(); cut += 37) {
        const std::span<const std::uint8_t> part(block.data(), cut);
        if (const auto v = QueryVersionValue(part, "\\StringFileInfo\\040904E4\\Comments")) {
            EXPECT_LE(v->Offset + v->ByteCount(), cut);
        }
        (void)ReadTranslations(part);
        (void)ParseVersionBlock(part);
    }
    // A length that claims more than the node holds is held to the node.
    auto damaged = block;
    const auto slot = QueryVersionValue(block, "\\StringFileInfo\\040904E4\\ProductName");
    ASSERT_TRUE(slot);
    const std::size_t header = slot->Offset - 32; // ProductName's node: header, key and padding
    damaged[header + 2] = 0xFF;
    damaged[header + 3] = 0x7F;
    const auto held = QueryVersionValue(damaged, "\\StringFileInfo\\040904E4\\ProductName");
    ASSERT_TRUE(held);
    EXPECT_EQ(held->Length, 256u);
}
