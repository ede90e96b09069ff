// The settings file: parsing, matching, the typed reads, the integer conversion and the decoding.
#include "shared/ProjectIni.h"

#include <clocale>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include <gtest/gtest.h>

#include "abi/Utf.h"

using Corvane::Shared::DecodeTextFile;
using Corvane::Shared::TProjectIni;
using Corvane::Shared::TryStrToInt32;

namespace {

TProjectIni Ini(std::string_view text) {
    TProjectIni ini;
    ini.LoadFromText(text);
    return ini;
}

// One read and what it must give. The default is the expected value's type.
struct TReadCase {
    const char* Name;
    const char* Text;
    const char* Section;
    const char* Ident;
    std::variant<std::string, std::int32_t, bool> Default;
    std::variant<std::string, std::int32_t, bool> Expected;
};

void PrintTo(const TReadCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.Text));
}

std::variant<std::string, std::int32_t, bool> Read(const TProjectIni& ini, const TReadCase& c) {
    if (const auto* s = std::get_if<std::string>(&c.Default)) return ini.ReadString(c.Section, c.Ident, *s);
    if (const auto* i = std::get_if<std::int32_t>(&c.Default)) return ini.ReadInteger(c.Section, c.Ident, *i);
    return ini.ReadBool(c.Section, c.Ident, std::get<bool>(c.Default));
}

using S = std::string;
using I = std::int32_t;

const TReadCase kReadCases[] = {
    {"EmptyFileString", "", "App", "ID", S{}, S{}},
    {"EmptyFileInteger", "", "App", "Width", I{800}, I{800}},
    {"EmptyFileBool", "", "App", "EdgeInstaller", true, true},
    {"CommentsOnly", "; settings\n;[App]\n  ; ID=x\n", "App", "ID", S{"none"}, S{"none"}},
    {"SectionCaseLower", "[App]\nID=a\n[app]\nName=b\n[APP]\nDirName=c\n", "App", "Name", S{}, S{"b"}},
    {"SectionCaseUpper", "[App]\nID=a\n[app]\nName=b\n[APP]\nDirName=c\n", "aPP", "dirname", S{}, S{"c"}},
    {"NameCase", "[App]\nid=x\n", "App", "ID", S{}, S{"x"}},
    {"NonAsciiCase", "[\xC3\x84PP]\n\xC3\x96L=1\n\xD0\x98\xD0\x9C\xD0\xAF=2\n", "\xC3\xA4pp", "\xC3\xB6l",
     I{0}, I{1}},
    {"CyrillicCase", "[App]\n\xD0\x98\xD0\x9C\xD0\xAF=2\n", "APP", "\xD0\xB8\xD0\xBC\xD1\x8F", I{0}, I{2}},
    {"BlanksAroundEquals", "[App]\n  ID = two words  \n", "App", "ID", S{}, S{"two words"}},
    {"ControlCharsTrimmed", "\t[ App ]\t\n\tID\t=\tx\x01\n", "App", "ID", S{}, S{"x"}},
    {"EqualsInValue", "[App]\nID=a=b\n", "App", "ID", S{}, S{"a=b"}},
    {"SemicolonInValue", "[App]\nName=a ; b\n", "App", "Name", S{}, S{"a ; b"}},
    {"QuotesKept", "[App]\nName=\"q\"\n", "App", "Name", S{}, S{"\"q\""}},
    {"AllowInstancesTrue", "[App]\nAllowInstances=true\n", "App", "AllowInstances", false, false},
    {"AllowInstancesOne", "[App]\nAllowInstances=1\n", "App", "AllowInstances", false, true},
    {"AllowInstancesMinusOne", "[App]\nAllowInstances=-1\n", "App", "AllowInstances", false, true},
    {"EdgeInstallerYes", "[App]\nEdgeInstaller=yes\n", "App", "EdgeInstaller", true, true},
    {"EdgeInstallerZero", "[App]\nEdgeInstaller=0\n", "App", "EdgeInstaller", true, false},
    {"ColourRed", "[App]\nInstallFormColor=$0000FF\n", "App", "InstallFormColor", I{-16777190}, I{255}},
    {"ColourSystem", "[App]\nInstallFormColor=$FF00001A\n", "App", "InstallFormColor", I{0}, I{-16777190}},
    {"IntegerJunk", "[App]\nWidth=800px\n", "App", "Width", I{640}, I{640}},
    {"IntegerEmpty", "[App]\nWidth=\n", "App", "Width", I{640}, I{640}},
    {"KeyTwice", "[App]\nID=first\nName=n\nID=second\n", "App", "ID", S{}, S{"second"}},
    {"KeyTwiceLastWithoutValue", "[App]\nID=first\nID\n", "App", "ID", S{"dflt"}, S{"dflt"}},
    {"KeyBeforeSection", "ID=early\n[App]\nName=n\n", "App", "ID", S{}, S{}},
    {"PasswordWithoutEquals", "[App]\nPassword\n", "App", "Password", S{"dflt"}, S{"dflt"}},
    {"EmptyValueIsAValue", "[App]\nIndexHtml=\n", "App", "IndexHtml", S{"index.html"}, S{}},
    {"RepeatedSectionContinues", "[App]\nID=a\n[Other]\nID=b\n[App]\nName=n\n", "App", "ID", S{}, S{"a"}},
    {"OtherSectionSeparate", "[App]\nID=a\n[Other]\nID=b\n[App]\nName=n\n", "Other", "ID", S{}, S{"b"}},
    {"MissingSection", "[App]\nID=a\n", "Nope", "ID", S{"dflt"}, S{"dflt"}},
    {"UnclosedHeaderIsEntry", "[App]\n[Other\nID=a\n", "App", "ID", S{}, S{"a"}},
    {"EmptyBracketsAreSection", "[App]\n[]\nID=a\n", "App", "ID", S{}, S{}},
    {"CrOnly", "[App]\rID=x\rName=y", "App", "Name", S{}, S{"y"}},
    {"MixedLineEnds", "[App]\r\nID=x\nName=y\r\rDirName=z\n\r\n", "App", "DirName", S{}, S{"z"}},
};

class ProjectIniReadTest : public testing::TestWithParam<TReadCase> {};

TEST_P(ProjectIniReadTest, Reads) {
    const TReadCase& c = GetParam();
    EXPECT_EQ(Read(Ini(c.Text), c), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectIniReadTest, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<TReadCase>& param) { return param.param.Name; });

TEST(ProjectIniTest, LoadReplacesTheWholeContent) {
    TProjectIni ini = Ini("[App]\nID=a\nName=n\n");
    ini.LoadFromText("[App]\nID=b\n");
    EXPECT_EQ(ini.ReadString("App", "ID", ""), "b");
    EXPECT_EQ(ini.ReadString("App", "Name", "none"), "none");
    ini.LoadFromBytes("");
    EXPECT_EQ(ini.ReadString("App", "ID", "none"), "none");
}

TEST(ProjectIniTest, ManySectionsAreParsedInLinearTime) {
    // 80,000 section headers once took seconds; repeated headers still merge into one section.
    std::string text;
    for (int i = 0; i < 80000; ++i)
        text += "[S" + std::to_string(i) + "]\nK=" + std::to_string(i) + "\n";
    text += "[s17]\nL=later\n";
    const TProjectIni ini = Ini(text);
    EXPECT_EQ(ini.ReadString("S79999", "K", ""), "79999");
    EXPECT_EQ(ini.ReadString("S17", "K", ""), "17");
    EXPECT_EQ(ini.ReadString("S17", "L", ""), "later");
}

// ----- the byte-order marks -----

const std::string kSample = "; comment\r\n[App]\r\nID = my.app\r\nName = \u00DCber \u540D "
                            "\U0001F600\r\nWidth = $400\r\n";

std::string Utf16Bytes(const std::string& utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    const std::u16string units = Corvane::Abi::Utf8ToUtf16(utf8);
    for (const char16_t u : units) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

TEST(ProjectIniTest, Utf16FilesReadLikeUtf8) {
    for (const std::string& bytes :
         {"\xEF\xBB\xBF" + kSample, Utf16Bytes(kSample, false), Utf16Bytes(kSample, true)}) {
        SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 2)));
        EXPECT_EQ(DecodeTextFile(bytes), kSample);
        TProjectIni ini;
        ini.LoadFromBytes(bytes);
        EXPECT_EQ(ini.ReadString("App", "ID", ""), "my.app");
        EXPECT_EQ(ini.ReadString("App", "Name", ""), "\u00DCber \u540D \U0001F600");
        EXPECT_EQ(ini.ReadInteger("App", "Width", 0), 1024);
    }
}

TEST(ProjectIniTest, DecodingEdges) {
    // An odd trailing byte of UTF-16 is dropped.
    EXPECT_EQ(DecodeTextFile(std::string_view("\xFF\xFE"
                                              "A\0B\0C",
                                              7)),
              "AB");
    EXPECT_EQ(DecodeTextFile(std::string_view("\xFE\xFF\0A\0B\0", 7)), "AB");
    // A lone surrogate and malformed UTF-8 both become U+FFFD.
    EXPECT_EQ(DecodeTextFile(std::string_view("\xFF\xFE\x00\xD8"
                                              "A\0",
                                              6)),
              "\xEF\xBF\xBD"
              "A");
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF"
                             "a\xFF"
                             "b"),
              "a\xEF\xBF\xBD"
              "b");
    // Only the mark itself is removed.
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF\xEF\xBB\xBF"
                             "x"),
              "\xEF\xBB\xBF"
              "x");
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF"), "");
    EXPECT_EQ(DecodeTextFile(""), "");
}

TEST(ProjectIniTest, WithoutMarkTheLocaleCharsetDecides) {
    EXPECT_EQ(DecodeTextFile("[App]\nID=plain\n"), "[App]\nID=plain\n");

    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale";
    TProjectIni ini;
    ini.LoadFromBytes("[App]\nName=\u00DCber\n");
    const std::string utf8Name = ini.ReadString("App", "Name", "");
    // The converter lets lead bytes past U+10FFFF through; they must not reach captions.
    const std::string beyondUnicode = DecodeTextFile("A\xF5\xBE\x91\x9C"
                                                     "B");
    std::setlocale(LC_CTYPE, "C");
    const std::string asciiDecoded = DecodeTextFile("\xC3\x9C");
    std::setlocale(LC_CTYPE, saved.c_str());

    EXPECT_EQ(utf8Name, "\u00DCber");
    EXPECT_TRUE(Corvane::Abi::IsValidUtf8(beyondUnicode)) << beyondUnicode;
    EXPECT_EQ(beyondUnicode.front(), 'A');
    EXPECT_EQ(beyondUnicode.back(), 'B');
    EXPECT_EQ(asciiDecoded, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

// ----- the integer conversion -----

struct TIntCase {
    const char* Text;
    std::optional<std::int32_t> Expected;
};

// clang-format off
const TIntCase kIntCases[] = {
    // decimal, its limits and one past them
    {"0", 0}, {"00", 0}, {"123", 123}, {"+123", 123}, {"-123", -123}, {"000000000000042", 42},
    {"2147483647", 2147483647}, {"+2147483647", 2147483647}, {"-2147483648", INT32_MIN},
    {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}, {"99999999999999999999", std::nullopt},
    // leading blanks and signs
    {"  42", 42}, {"  -42", -42}, {" +7", 7}, {"\t7", std::nullopt}, {"- 1", std::nullopt},
    {"--1", std::nullopt}, {"+-1", std::nullopt}, {"-", std::nullopt}, {"+", std::nullopt},
    // hexadecimal with every prefix
    {"$10", 16}, {"x10", 16}, {"X10", 16}, {"0x10", 16}, {"0X10", 16}, {"$ff", 255}, {"0x1", 1},
    {"$FF00001A", -16777190}, {"0xFF00001A", -16777190}, {"0XFF00001A", -16777190},
    {"xFF00001A", -16777190}, {"$FFFFFFFF", -1}, {"$7FFFFFFF", 2147483647},
    // eight significant digits fit, nine do not; leading zeros do not count
    {"$100000000", std::nullopt}, {"0x100000000", std::nullopt}, {"$000000001", 1},
    {"0x0000000FF", 255}, {"$0000000000000000", 0},
    // signs apply to the 32-bit pattern
    {"-$10", -16}, {"+$10", 16}, {"-0x10", -16}, {" $10", 16}, {" 0x10", 16},
    {"-$80000000", INT32_MIN}, {"-$FFFFFFFF", 1},
    // junk
    {"", std::nullopt}, {" ", std::nullopt}, {"true", std::nullopt}, {"1.5", std::nullopt},
    {"1e3", std::nullopt}, {"42 ", std::nullopt}, {"4 2", std::nullopt}, {"12a", std::nullopt},
    {"0x", std::nullopt}, {"0X", std::nullopt}, {"$", std::nullopt}, {"x", std::nullopt},
    {"-$", std::nullopt}, {"$-10", std::nullopt}, {"0x-10", std::nullopt}, {"0x 10", std::nullopt},
    {"$1G", std::nullopt}, {"00x10", std::nullopt}, {"0x10 ", std::nullopt}, {"$$10", std::nullopt},
};
// clang-format on

TEST(ProjectIniTest, TryStrToInt32) {
    for (const TIntCase& c : kIntCases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.Text)));
        std::int32_t value = 12345;
        const bool ok = TryStrToInt32(c.Text, value);
        EXPECT_EQ(ok, c.Expected.has_value());
        EXPECT_EQ(value, c.Expected.value_or(12345)); // failure leaves the value alone
    }
}

} // namespace
