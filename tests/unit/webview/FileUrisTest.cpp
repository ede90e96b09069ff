// Tests of the file: mapping to the private scheme and of resource filter patterns.
#include "webview/FileUris.h"

#include <gtest/gtest.h>

using namespace CrvWebView;

namespace {

TEST(FileUris, MapBothWaysAndLeaveOtherSchemesAlone) {
    const std::pair<const char*, const char*> cases[] = {
        {"file:///index.html", "crvfile:///index.html"},
        {"FILE:///a/b%20c.png?x=1#top", "crvfile:///a/b%20c.png?x=1#top"},
        {"file://host/share/x", "crvfile://host/share/x"},
        {"https://example.com/file:///x", "https://example.com/file:///x"},
        {"filex:///a", "filex:///a"},
        {"about:blank", "about:blank"},
        {"", ""},
    };
    for (const auto& [host, browser] : cases) {
        EXPECT_EQ(ToBrowserUri(host), browser) << host;
        if (std::string(host).rfind("FILE:", 0) != 0) {
            EXPECT_EQ(ToHostUri(browser), host) << browser;
        }
    }
    EXPECT_EQ(ToHostUri("crvfile:///a"), "file:///a");
    EXPECT_EQ(ToHostUri("crvfilex:///a"), "crvfilex:///a");
    EXPECT_TRUE(IsPrivateUri("CRVFILE:///a"));
    EXPECT_FALSE(IsFileUri("file"));
}

TEST(FileUris, PatternsWithWildcards) {
    struct TCase {
        const char* Pattern;
        const char* Uri;
        bool Matches;
    };
    const TCase cases[] = {
        {"*", "file:///index.html", true},
        {"*", "", true},
        {"file:///*", "file:///a/b.js", true},
        {"file:///*", "https://x/", false},
        {"*.png", "file:///img/a.png", true},
        {"*.png", "file:///img/a.png?v=2", false},
        {"file:///*/b*.js", "file:///a/x/bundle.js", true},
        {"file:///*/b*.js", "file:///bundle.js", false},
        {"file:///index.html", "file:///index.html", true},
        {"file:///index.html", "file:///index.htm", false},
        {"a**b", "ab", true},
        {"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesUriPattern(c.Pattern, c.Uri), c.Matches) << c.Pattern << " ~ " << c.Uri;
}

} // namespace
