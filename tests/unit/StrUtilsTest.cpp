// Tests of the string helpers and the MIME table.
#include "shared/StrUtils.h"

#include "platform/SystemMimeTypes.h"
#include "shared/MimeTable.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using Corvane::Shared::TArrayStrings;
using Corvane::Shared::TSearchOptions;
using Corvane::Shared::TStrUtils;
namespace Mime = Corvane::Shared::Mime;

namespace {

// ---- StringToJsonString ----

TEST(StringToJsonString, EscapesPerUtf16CodeUnit) {
    const std::pair<std::string, std::string> cases[] = {
        {"", R"("")"},
        {R"(C:\Temp\a.txt)", R"("C:\\Temp\\a.txt")"},
        {"a/b", R"("a\/b")"},
        {"\x01", R"("\u0001")"},
        {"\x1b[0m", R"("\u001B[0m")"},
        {std::string("a\0b", 3), R"("a\u0000b")"},
        {"\x7f", R"("\u007F")"},
        {R"(say "hi")", R"("say \"hi\"")"},
        {"\b\t\n\f\r\v", R"("\b\t\n\f\r\u000B")"},
        {" ~plain ASCII 0-9!", R"(" ~plain ASCII 0-9!")"},
        {"\xC3\xA9", R"("\u00E9")"},               // é
        {"\xE2\x82\xAC", R"("\u20AC")"},           // €
        {"\xEF\xBF\xBF", R"("\uFFFF")"},           // last BMP code unit
        {"\xF0\x9F\x98\x80", R"("\uD83D\uDE00")"}, // 😀 as a surrogate pair
        {"\xFF", R"("\uFFFD")"},                   // not UTF-8
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(TStrUtils::StringToJsonString(input), expected) << input;
}

TEST(StringToJsonString, IsAsciiAndParsesBackToTheInput) {
    const std::string inputs[] = {
        "Gr\xC3\xBC\xC3\x9F"
        "e \xC3\xA0\xC3\xA9\xC3\xAE\xC3\xB5 \xC3\x86\xC3\x98\xC3\x85",       // Grüße àéîõ ÆØÅ
        "\xE2\x82\xAC \xC2\xA3 \xC2\xA5 \xE2\x82\xB9 \xC2\xA2",              // € £ ¥ ₹ ¢
        "\xF0\x9F\x98\x80\xF0\x9F\x8E\x89 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", // 😀🎉 👍🏽
        "/path/\xE6\x97\xA5\xE6\x9C\xAC/\"q\"\\\x01\t\xF0\x9D\x84\x9E",      // 日本 and 𝄞
    };
    for (const std::string& input : inputs) {
        const std::string json = TStrUtils::StringToJsonString(input);
        for (const char c : json)
            ASSERT_TRUE(c >= 0x20 && c < 0x7F) << json;
        EXPECT_EQ(nlohmann::json::parse(json).get<std::string>(), input) << json;
    }
}

// ---- ExplodeStrings and ImplodeStrings ----

TEST(ExplodeStrings, KeepsEmptyPiecesAndMatchesFromTheLeft) {
    const struct {
        std::string Separator, Value;
        TArrayStrings Expected;
    } cases[] = {
        {"|", "", {""}},
        {"|", "a||b|", {"a", "", "b", ""}},
        {"|", "|", {"", ""}},
        {"", "a|b", {"a|b"}},
        {"::", "a:::b", {"a", ":b"}},
        {"ab", "ababab", {"", "", "", ""}},
        {";", " a ; b ", {" a ", " b "}},
        {"X", "axb", {"axb"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TStrUtils::ExplodeStrings(c.Separator, c.Value), c.Expected)
            << c.Separator << " " << c.Value;
}

TEST(ImplodeStrings, JoinsNeighbours) {
    EXPECT_EQ(TStrUtils::ImplodeStrings(",", {}), "");
    EXPECT_EQ(TStrUtils::ImplodeStrings(",", {"a"}), "a");
    EXPECT_EQ(TStrUtils::ImplodeStrings(", ", {"a", "", "b"}), "a, , b");
    for (const std::string value : {"", "a||b|", "|"})
        EXPECT_EQ(TStrUtils::ImplodeStrings("|", TStrUtils::ExplodeStrings("|", value)), value);
}

// ---- MIME lookup ----

TEST(MimeExtension, TakesTheLastDotAfterTheLastDelimiter) {
    const std::pair<std::string, std::string> cases[] = {
        {"INDEX.HTM", ".htm"},
        {"readme", ""},
        {"name.", "."},
        {"archive.tar.gz", ".gz"},
        {".htaccess", ".htaccess"},
        {R"(C:\my.folder\file)", ""},
        {R"(C:\my.folder\Page.Html)", ".html"},
        {"/srv/site.v2/page", ""},
        {"app/files/img.d/logo.PNG", ".png"},
        {"file:///index.html", ".html"},
        {"https://host.example/app/page", ""},
        {"report.txt:stream", ""},
    };
    for (const auto& [name, ext] : cases)
        EXPECT_EQ(Mime::ExtractExtension(name), ext) << name;
}

TEST(MimeTable, BuiltInRowsForWebContent) {
    const Mime::TMimeMap table = Mime::BuildMimeTable(Mime::BuiltInMimeTypes(), nullptr);
    const std::pair<std::string, std::string> rows[] = {
        {".htm", "text/html"},
        {".html", "text/html"},
        {".xhtml", "application/xhtml+xml"},
        {".xht", "application/xhtml+xml"},
        {".css", "text/css"},
        {".js", "text/javascript"},
        {".xml", "text/xml"},
        {".txt", "text/plain"},
        {".svg", "image/svg+xml"},
        {".svgz", "image/svg+xml"},
        {".png", "image/x-png"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".jpe", "image/jpeg"},
        {".gif", "image/gif"},
        {".ico", "image/x-icon"},
        {".bmp", "image/bmp"},
        {".webp", "image/webp"},
        {".mp3", "audio/x-mpg"},
        {".wav", "audio/x-wav"},
        {".mp4", "video/mpeg"},
        {".webm", "video/webm"},
        {".ogv", "video/ogg"},
        {".ogg", "application/ogg"},
        {".pdf", "application/pdf"},
        {".zip", "application/x-zip-compressed"},
    };
    for (const auto& [ext, type] : rows) {
        const auto found = table.find(ext);
        ASSERT_NE(found, table.end()) << ext;
        EXPECT_EQ(found->second, type) << ext;
    }
    // These get their type from the system only.
    for (const std::string ext : {".json", ".woff", ".woff2", ".ttf", ".otf", ".wasm", ".mjs"})
        EXPECT_EQ(table.count(ext), 0u) << ext;
}

TEST(MimeTable, FirstBuiltInPairCountsAndLaterSystemPairsReplace) {
    const Mime::TMimePair builtIn[] = {{".a", "x/first"}, {".a", "x/second"}, {".b", "x/built-in"}};
    const Mime::TMimeMap table = Mime::BuildMimeTable(builtIn, [](const Mime::TAddMimeType& add) {
        add(".B", "X/System-One");
        add(".b", "x/system-two");
        add("c", "x/no-dot");
        add("", "x/ignored");
        add(".d", "");
    });
    const Mime::TMimeMap expected{{".a", "x/first"}, {".b", "x/system-two"}, {".c", "x/no-dot"}};
    EXPECT_EQ(table, expected);
}

// ctest runs each test in a process of its own, so here the table is not made yet.
TEST(MimeTable, PreparedOnItsOwnThreadIsTheWholeTableThatLookupsUse) {
    auto prepared = Mime::PrepareProcessMimeTable();
    ASSERT_TRUE(prepared.valid());
    // A lookup while the thread still reads waits for that one table.
    EXPECT_EQ(TStrUtils::GetFileMIMEType("index.html"), "text/html");
    prepared.wait();
    const Mime::TMimeMap expected =
        Mime::BuildMimeTable(Mime::BuiltInMimeTypes(),
                             [](const Mime::TAddMimeType& add) { Platform::ForEachSystemMimeType(add); });
    EXPECT_EQ(Mime::ProcessMimeTable(), expected);
    EXPECT_EQ(&Mime::ProcessMimeTable(), &Mime::ProcessMimeTable());
}

TEST(GetFileMIMEType, LooksUpTheLastExtensionWithoutCase) {
    EXPECT_EQ(TStrUtils::GetFileMIMEType("INDEX.HTM"), "text/html");
    EXPECT_EQ(TStrUtils::GetFileMIMEType("app/files/Index.Html"), "text/html");
    for (const std::string name :
         {"readme", "name.", "", "x.zz-unknown-zz", R"(C:\my.folder\file)", "dir.d/file"})
        EXPECT_EQ(TStrUtils::GetFileMIMEType(name), "application/octet-stream") << name;
    // The system registers *.tar.gz on its own; only .gz may be looked up.
    EXPECT_EQ(TStrUtils::GetFileMIMEType("archive.tar.gz"), TStrUtils::GetFileMIMEType("other.gz"));
    EXPECT_NE(TStrUtils::GetFileMIMEType("archive.tar.gz"), "application/octet-stream");
}

TEST(GetFileMIMEType, TheSystemsOwnPngAndJsTypesWin) {
    for (const std::string ext : {".png", ".js"}) {
        std::optional<std::string> last;
        Platform::ForEachSystemMimeType([&](const std::string& e, const std::string& type) {
            if (Mime::ExtractExtension("x" + e) == ext) last = type;
        });
        if (!last) continue; // nothing registered on this machine
        std::string lower = *last;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(TStrUtils::GetFileMIMEType("file" + ext), lower) << ext;
    }
}

// ---- The smaller helpers ----

TEST(StrUtilsSmall, JavascriptArrayFromLines) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a", R"("a")"},
        {"a\n\n  b c \r\nit's \"q\"\n", R"("a", "b c", "it\x27s \x22q\x22")"},
        {"\t\x01x\x7f\n", "\"x\x7f\""}, // only code units up to U+0020 are trimmed
        {" \n", R"("")"},               // a blank line is not an empty one
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(TStrUtils::GetJavascriptArrayFromMultilineString(value), expected) << value;
}

TEST(StrUtilsSmall, RandomStringsDrawFromTheSequence) {
    EXPECT_EQ(TStrUtils::GetRandomString(0, "abc"), "");
    EXPECT_EQ(TStrUtils::GetRandomString(-3, "abc"), "");
    EXPECT_EQ(TStrUtils::GetRandomString(5, ""), "");
    EXPECT_EQ(TStrUtils::GetRandomString(4, "z"), "zzzz");

    const std::string drawn = TStrUtils::GetRandomString(3000, "abc");
    ASSERT_EQ(drawn.size(), 3000u);
    std::map<char, int> counts;
    for (const char c : drawn)
        ++counts[c];
    ASSERT_EQ(counts.size(), 3u);
    for (const auto& [c, n] : counts)
        EXPECT_NEAR(n, 1000, 150) << c; // about 5.6 sigma

    // Multi-byte characters are drawn whole.
    const std::string accents = TStrUtils::GetRandomString(20, "\xC3\xA9\xC3\xBC"); // éü
    ASSERT_EQ(accents.size(), 40u);
    for (size_t i = 0; i < accents.size(); i += 2) {
        const std::string c = accents.substr(i, 2);
        EXPECT_TRUE(c == "\xC3\xA9" || c == "\xC3\xBC") << i;
    }

    const std::string name = TStrUtils::GetControlRandomSuffix("button");
    ASSERT_EQ(name.size(), 17u);
    EXPECT_EQ(name.substr(0, 7), "button-");
    EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz1234567890", 7), std::string::npos);
    EXPECT_NE(TStrUtils::GetControlRandomSuffix("button"), name);
}

TEST(StrUtilsSmall, UrlArguments) {
    const struct {
        std::string Url;
        std::vector<std::string> Expected;
    } cases[] = {
        {"https://h/p?a=1&b=hello+world&c=%C3%A9%2B&d", {"a=1", "b=hello world", "c=\xC3\xA9+", "d"}},
        {"https://h/p", {}},
        {"https://h/p?", {}},
        {"https://h/p?a=1&", {"a=1", ""}},
        {"https://h/p?a=1&&b", {"a=1", "", "b"}},
        {"https://h/p?q=\"x,y\"&r", {"q=\"x,y\"", "r"}},
        {"https://h/p?a=%zz%4&b=%41", {"a=%zz%4", "b=A"}},
        {"https://h/p?a=1#frag&b=2", {"a=1"}},
        {"https://h/p?n%3Dx=%26", {"n=x=&"}},
        {"https://h/p?q=%FF", {"q=\xEF\xBF\xBD"}}, // not UTF-8: U+FFFD
    };
    for (const auto& c : cases)
        EXPECT_EQ(TStrUtils::GetUrlArguments(c.Url), c.Expected) << c.Url;
}

TEST(StrUtilsSmall, SubStringExists) {
    const struct {
        std::string Text, Sub;
        TSearchOptions Options;
        bool Expected;
    } cases[] = {
        {"Hello World", "world", {}, true},
        {"Hello World", "world", {.MatchCase = true}, false},
        {"Hello World", "World", {.MatchCase = true}, true},
        {"Hello World", "lo W", {.WholeWord = true}, false},
        {"Hello World", "hello world", {.WholeWord = true}, true},
        {"concatenate a cat", "cat", {.WholeWord = true}, true},
        {"concatenate a cat", "cat", {.Down = false, .WholeWord = true}, true},
        {"a cat concatenate", "cat", {.Down = false, .WholeWord = true}, true},
        {"concatenate", "cat", {.WholeWord = true}, false},
        {"cat_1 cat2", "cat", {.WholeWord = true}, false},
        {"(cat)", "cat", {.WholeWord = true}, true},
        {"na\xC3\xAFve", "na", {.WholeWord = true}, false}, // naïve
        {"\xC3\x89"
         "COLE",
         "\xC3\xA9"
         "cole",
         {},
         true},                                                             // ÉCOLE / école
        {"\xD0\x9C\xD0\x98\xD0\xA0", "\xD0\xBC\xD0\xB8\xD1\x80", {}, true}, // МИР / мир
        {"\xD0\x9C\xD0\x98\xD0\xA0", "\xD0\xBC\xD0\xB8\xD1\x80", {.MatchCase = true}, false},
        {"abc", "", {}, false},
        {"", "a", {}, false},
        {"ab", "abc", {}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TStrUtils::SubStringExists(c.Text, c.Sub, c.Options), c.Expected)
            << c.Text << " / " << c.Sub;
}

TEST(StrUtilsSmall, NumbersAndResolutions) {
    EXPECT_EQ(TStrUtils::AddLeadingZeroes(42, 5), "00042");
    EXPECT_EQ(TStrUtils::AddLeadingZeroes(12345, 3), "12345");
    EXPECT_EQ(TStrUtils::AddLeadingZeroes(-42, 5), "-00042");
    EXPECT_EQ(TStrUtils::AddLeadingZeroes(7, -1), "7");
    EXPECT_EQ(TStrUtils::AddLeadingZeroes(std::numeric_limits<std::int64_t>::min(), 1),
              "-9223372036854775808");

    const struct {
        std::string Value;
        int Width, Height;
    } cases[] = {
        {"1920x1080", 1920, 1080}, {"size: 800x600px", 800, 600},
        {"a 12 34x56", 34, 56},    {"1x2x3", 1, 2},
        {"1920X1080", -1, -1},     {"x600", -1, -1},
        {"800x", -1, -1},          {"", -1, -1},
        {"99999999999x1", -1, -1},
    };
    for (const auto& c : cases) {
        int width = 0;
        int height = 0;
        TStrUtils::StrToResolution(c.Value, width, height);
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(c.Width, c.Height)) << c.Value;
    }
}

TEST(StrUtilsSmall, ScriptAndArgumentQuoting) {
    const std::string raw = "it's \"a\":b|c";
    EXPECT_EQ(TStrUtils::QuoteJavascript(raw), R"(it\x27s \x22a\x22:b|c)");
    EXPECT_EQ(TStrUtils::QuoteArguments(raw), R"(it\x27s \x22a\x22\x3ab\x7cc)");
    EXPECT_EQ(TStrUtils::UnquoteJavascript(TStrUtils::QuoteJavascript(raw)), raw);
    EXPECT_EQ(TStrUtils::UnquoteArguments(TStrUtils::QuoteArguments(raw)), raw);
    EXPECT_EQ(TStrUtils::UnquoteJavascript(R"(\x3a\x27)"), R"(\x3a')");
}

TEST(StrUtilsSmall, RepeatCapitalizeAndPathKinds) {
    EXPECT_EQ(TStrUtils::RepeatString("ab", 3), "ababab");
    EXPECT_EQ(TStrUtils::RepeatString("ab", 0), "");
    EXPECT_EQ(TStrUtils::RepeatString("ab", -2), "");
    EXPECT_EQ(TStrUtils::RepeatString("", 5), "");

    const std::pair<std::string, std::string> capitals[] = {
        {"hello world", "Hello world"},
        {"", ""},
        {"Hello", "Hello"},
        {"1abc", "1abc"},
        {"\xC3\xA9lan", "\xC3\x89lan"}, // élan
        {"\xFF"
         "abc",
         "\xFF"
         "abc"}, // not UTF-8: unchanged
    };
    for (const auto& [value, expected] : capitals)
        EXPECT_EQ(TStrUtils::Capitalize(value), expected) << value;

    EXPECT_TRUE(TStrUtils::FilePathIsHttpUrl("http://host/"));
    EXPECT_TRUE(TStrUtils::FilePathIsHttpUrl("HTTPS://host/"));
    for (const std::string path : {"http:/host", "https:", "ftp://host", "file:///x", "", " http://h"})
        EXPECT_FALSE(TStrUtils::FilePathIsHttpUrl(path)) << path;

    EXPECT_TRUE(TStrUtils::FilePathIsAppRelative("App/Files/x.txt"));
    EXPECT_FALSE(TStrUtils::FilePathIsAppRelative("app/files"));
    EXPECT_FALSE(TStrUtils::FilePathIsAppRelative("app/plugins/x.js"));
    EXPECT_TRUE(TStrUtils::FilePathIsPluginRelative("APP/PLUGINS/p.js"));
    EXPECT_FALSE(TStrUtils::FilePathIsPluginRelative("app/files/p.js"));
}

} // namespace
