// Changing the runtime's icon and filling in its version values, on a copy of a mingw-built
// program that carries the runtime's own resources.
#include "shared/ExeUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>

#include "PeFixtures.h"
#include "shared/PeResources.h"
#include "shared/VersionInfo.h"

using namespace Corvane::Shared;
using namespace PeFixtures;

namespace {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(no error)";
}

// The images of the MAINICON group in the file, by their IDs, and every icon left in the file.
struct TIcons {
    std::vector<std::uint16_t> GroupIds;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> Images; // (ID, language)
    std::uint16_t GroupLanguage = 0;
};

TIcons IconsOf(const TPeImage& image) {
    TIcons icons;
    const auto languages = image.Languages(kRtGroupIcon, TResId(u"MAINICON"));
    EXPECT_EQ(languages.size(), 1u);
    if (languages.empty()) return icons;
    icons.GroupLanguage = languages[0];
    const TBytes& group = *image.Find(kRtGroupIcon, TResId(u"MAINICON"), languages[0])->Data;
    for (std::size_t i = 0; i < std::size_t(group[4] | group[5] << 8); ++i)
        icons.GroupIds.push_back(
            static_cast<std::uint16_t>(group[6 + 14 * i + 12] | group[6 + 14 * i + 13] << 8));
    for (const TResource& r : image.Resources())
        if (r.Type == TResId(kRtIcon)) icons.Images.emplace_back(r.Name.Id(), r.Language);
    return icons;
}

class ExeResources : public ::testing::Test {
protected:
    void SetUp() override {
        const auto fixture = Fixture("tiny-res.exe");
        if (fixture.empty()) GTEST_SKIP() << "tiny-res.exe was not built (no mingw-w64)";
        Exe = Dir.Copy(fixture, "app.exe").string();
    }

    std::string WriteIco(const TBytes& ico, const std::string& name = "app.ico") {
        WriteBytes(Dir.Path() / name, ico);
        return (Dir.Path() / name).string();
    }

    // All eleven values empty but those given.
    TExeUtils::TExeInfoResult Fill(const std::map<std::string, std::string>& given) {
        std::string v[11];
        for (std::size_t k = 0; k < 11; ++k)
            if (given.count(TExeUtils::kExeInfoKeys[k])) v[k] = given.at(TExeUtils::kExeInfoKeys[k]);
        return Utils.UpdateExeInfo(Exe, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
    }

    static std::u16string Reserved(std::u16string text, std::size_t length) {
        text.resize(length, u'\0');
        return text;
    }

    TTempDir Dir;
    std::string Exe;
    TExeUtils Utils{"unused"};
};

} // namespace

TEST_F(ExeResources, NewIconsReplaceEveryOldImage) {
    for (const std::size_t count : {3u, 12u}) {
        std::vector<std::pair<std::uint8_t, std::size_t>> images;
        for (std::size_t i = 0; i < count; ++i)
            images.emplace_back(static_cast<std::uint8_t>(16 + i), 40 + 100 * i);
        const TBytes ico = MakeIco(images);
        Utils.ChangeExeIcon(Exe, WriteIco(ico));

        const TPeImage image = TPeImage::Load(Exe);
        const TIcons icons = IconsOf(image);
        EXPECT_EQ(icons.GroupLanguage, 1033);
        std::vector<std::uint16_t> ids;
        std::vector<std::pair<std::uint16_t, std::uint16_t>> expected;
        for (std::uint16_t i = 1; i <= count; ++i) {
            ids.push_back(i);
            expected.emplace_back(i, 1033);
        }
        EXPECT_EQ(icons.GroupIds, ids);
        EXPECT_EQ(icons.Images, expected) << count << " images";

        // Entry i is the first 12 bytes of the ICO entry, then its ID; image i is its bytes.
        const TBytes& group = *image.Find(kRtGroupIcon, TResId(u"MAINICON"), 1033)->Data;
        EXPECT_EQ(group[0] | group[1] << 8 | group[2] << 16 | group[3] << 24,
                  0x00010000); // copied from the old group
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_TRUE(std::equal(group.begin() + 6 + 14 * i, group.begin() + 6 + 14 * i + 12,
                                   ico.begin() + 6 + 16 * i));
            const std::uint32_t size = Get32(ico, 6 + 16 * i + 8), offset = Get32(ico, 6 + 16 * i + 12);
            EXPECT_EQ(*image.Find(kRtIcon, static_cast<std::uint16_t>(i + 1), 1033)->Data,
                      TBytes(ico.begin() + offset, ico.begin() + offset + size));
        }
        EXPECT_NE(image.Find(kRtVersion, 1, 1033), nullptr);
    }
}

TEST_F(ExeResources, TheIconEndsUpIn1033WhateverItsLanguageWas) {
    {
        // Move the group and its images to German, with IDs that are not 1..n.
        const TPeImage before = TPeImage::Load(Exe);
        TResourceUpdate update(Exe, false);
        TBytes group = *before.Find(kRtGroupIcon, TResId(u"MAINICON"), 1033)->Data;
        group[4] = 2;
        group[5] = 0;
        group.resize(6 + 14 * 2);
        group[6 + 12] = 40;
        group[6 + 14 + 12] = 41;
        for (std::uint16_t id = 1; id <= 9; ++id)
            update.Update(kRtIcon, id, 1033, std::nullopt);
        update.Update(kRtGroupIcon, TResId(u"MAINICON"), 1033, std::nullopt);
        update.Update(kRtGroupIcon, TResId(u"MAINICON"), 1031, std::span<const std::uint8_t>(group));
        const TBytes image{1, 2, 3};
        update.Update(kRtIcon, 40, 1031, std::span<const std::uint8_t>(image));
        update.Update(kRtIcon, 41, 1031, std::span<const std::uint8_t>(image));
        update.Update(kRtIcon, 42, 1031, std::span<const std::uint8_t>(image)); // not in the group: stays
        update.Commit();
    }
    Utils.ChangeExeIcon(Exe, WriteIco(MakeIco({{32, 10}})));
    const TIcons icons = IconsOf(TPeImage::Load(Exe));
    EXPECT_EQ(icons.GroupLanguage, 1033);
    EXPECT_EQ(icons.GroupIds, std::vector<std::uint16_t>{1});
    EXPECT_EQ(icons.Images, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{1, 1033}, {42, 1031}}));
}

TEST_F(ExeResources, IconFilesAreCheckedBeforeTheExecutableIsTouched) {
    const TBytes original = ReadBytes(Exe);
    TBytes overflow = MakeIco({{16, 10}});
    Put32(overflow, 6 + 12, 0xFFFFFFF8u); // offset + size wraps around 32 bits
    TBytes beyond = MakeIco({{16, 10}});
    Put32(beyond, 6 + 8, 11);
    TBytes exe = MakeIco({{16, 10}});
    exe[0] = 'M';
    exe[1] = 'Z';
    TBytes shortDirectory = MakeIco({{16, 10}, {32, 10}});
    shortDirectory.resize(6 + 16 + 8);

    TBytes exactlyMiB = MakeIco({{0, 1048576 - 22}});
    TBytes overMiB = MakeIco({{0, 1048576 - 21}});
    ASSERT_EQ(exactlyMiB.size(), 1048576u);

    const std::vector<std::tuple<const char*, TBytes, std::string>> cases = {
        {"5 bytes", TBytes(5, 0), "Icon file is invalid"},
        {"an executable", exe, "Icon file is invalid"},
        {"directory cut short", shortDirectory, "Icon file is invalid"},
        {"image past the end", beyond, "Icon file is invalid"},
        {"offset and size overflow", overflow, "Icon file is invalid"},
        {"1 MiB and one byte", overMiB, "Icon file is too large"},
    };
    for (const auto& [what, ico, message] : cases) {
        EXPECT_EQ(ErrorOf([&] { Utils.ChangeExeIcon(Exe, WriteIco(ico)); }), message) << what;
        EXPECT_EQ(ReadBytes(Exe), original) << what;
    }
    EXPECT_NE(ErrorOf([&] { Utils.ChangeExeIcon(Exe, (Dir.Path() / "none.ico").string()); }).find("none.ico"),
              std::string::npos);

    // Exactly 1 MiB is allowed; the reserved and type fields are not looked at; no images at all is
    // an empty group.
    Utils.ChangeExeIcon(Exe, WriteIco(exactlyMiB));
    EXPECT_EQ(TPeImage::Load(Exe).Find(kRtIcon, 1, 1033)->Data->size(), 1048576u - 22);
    TBytes odd = MakeIco({});
    odd[0] = 7;
    odd[2] = 9;
    Utils.ChangeExeIcon(Exe, WriteIco(odd));
    EXPECT_TRUE(IconsOf(TPeImage::Load(Exe)).Images.empty());
}

TEST_F(ExeResources, IconChangesThatCannotBeMadeLeaveTheFileAlone) {
    const std::string ico = WriteIco(MakeIco({{16, 10}}));
    const auto tiny = Fixture("tiny.exe");
    const std::string plain = Dir.Copy(tiny, "plain.exe").string();
    EXPECT_EQ(ErrorOf([&] { Utils.ChangeExeIcon(plain, ico); }), "FindResource failed (1)");
    EXPECT_EQ(ReadBytes(plain), ReadBytes(tiny));

    WriteBytes(Dir.Path() / "text.exe", TBytes{'h', 'i'});
    EXPECT_EQ(ErrorOf([&] {
                  Utils.ChangeExeIcon((Dir.Path() / "text.exe").string(), ico);
              }).rfind("BeginUpdateResource failed (1): ", 0),
              0u);

    TBytes package = ReadBytes(Exe);
    package.insert(package.end(), {'P', 'K', 3, 4});
    WriteBytes(Exe, package);
    const std::string error = ErrorOf([&] { Utils.ChangeExeIcon(Exe, ico); });
    EXPECT_NE(error.find("already carries an appended archive"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(Exe), package);
}

TEST_F(ExeResources, VersionValuesGoIntoANewNeutralBlockBesideTheOld) {
    const TBytes oldBlock = *TPeImage::Load(Exe).Find(kRtVersion, 1, 1033)->Data;
    const auto result = Fill({{"ProductName", "Demo"},
                              {"FileVersion", "1.0.0.0"},
                              {"CompanyName", "100% Örtlich"},
                              {"OriginalFileName", "demo.exe"}});
    EXPECT_TRUE(result.Written);
    EXPECT_TRUE(result.CutKeys.empty());

    const TPeImage image = TPeImage::Load(Exe);
    EXPECT_EQ(image.Languages(kRtVersion, 1), (std::vector<std::uint16_t>{0, 1033}));
    EXPECT_EQ(*image.Find(kRtVersion, 1, 1033)->Data, oldBlock);
    const TBytes& block = *image.Find(kRtVersion, 1, 0)->Data;
    ASSERT_EQ(block.size(), oldBlock.size()); // the layout stays as it was
    const std::string table = "\\StringFileInfo\\040904E4\\";
    EXPECT_EQ(QueryVersionText(block, table + "ProductName"), Reserved(u"Demo", 256));
    EXPECT_EQ(QueryVersionText(block, table + "FileVersion"), Reserved(u"1.0.0.0", 8));
    EXPECT_EQ(QueryVersionText(block, table + "CompanyName"), Reserved(u"100% Örtlich", 256));
    EXPECT_EQ(QueryVersionText(block, table + "OriginalFilename"), Reserved(u"demo.exe", 256));
    EXPECT_EQ(QueryVersionText(block, table + "Comments"), Reserved(u"", 256));
    EXPECT_EQ(QueryVersionText(block, table + "ProductVersion"), Reserved(u"", 8));
    // The icon is untouched.
    EXPECT_EQ(IconsOf(image).Images.size(), 9u);

    // A second fill reads the neutral block and replaces it.
    EXPECT_TRUE(Fill({{"ProductName", "Again"}}).Written);
    const TPeImage again = TPeImage::Load(Exe);
    EXPECT_EQ(again.Languages(kRtVersion, 1), (std::vector<std::uint16_t>{0, 1033}));
    EXPECT_EQ(QueryVersionText(*again.Find(kRtVersion, 1, 0)->Data, table + "ProductName"),
              Reserved(u"Again", 256));
}

TEST_F(ExeResources, LongValuesAreCutToTheirReservedSpace) {
    // 300 characters, with a character outside the BMP straddling the cut at 255.
    std::string longName(254, 'n');
    longName += "\xF0\x9F\x98\x80"; // U+1F600, two UTF-16 units
    longName += std::string(44, 'x');
    const auto result = Fill(
        {{"ProductName", longName}, {"FileVersion", "10.20.30.40"}, {"Comments", std::string(255, 'c')}});
    EXPECT_EQ(result.CutKeys, (std::vector<std::string>{"FileVersion", "ProductName"}));

    const TPeImage image = TPeImage::Load(Exe);
    const TBytes& block = *image.Find(kRtVersion, 1, 0)->Data;
    const std::string table = "\\StringFileInfo\\040904E4\\";
    EXPECT_EQ(QueryVersionText(block, table + "ProductName"), Reserved(std::u16string(254, u'n'), 256));
    EXPECT_EQ(QueryVersionText(block, table + "FileVersion"), Reserved(u"10.20.3", 8));
    EXPECT_EQ(QueryVersionText(block, table + "Comments"), Reserved(std::u16string(255, u'c'), 256));
}

TEST_F(ExeResources, FilesWithoutVersionInformationAreLeftAlone) {
    const auto missing = (Dir.Path() / "none.exe").string();
    EXPECT_FALSE(Utils.UpdateExeInfo(missing, "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k").Written);
    EXPECT_FALSE(std::filesystem::exists(missing));

    const std::string plain = Dir.Copy(Fixture("tiny.exe"), "plain.exe").string();
    EXPECT_FALSE(Utils.UpdateExeInfo(plain, "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k").Written);
    EXPECT_EQ(ReadBytes(plain), ReadBytes(Fixture("tiny.exe")));

    TBytes package = ReadBytes(Exe);
    package.insert(package.end(), {'P', 'K', 3, 4});
    WriteBytes(Exe, package);
    EXPECT_NE(ErrorOf([&] {
                  Fill({{"ProductName", "x"}});
              }).find("already carries an appended archive"),
              std::string::npos);
    EXPECT_EQ(ReadBytes(Exe), package);
}
