// Tests of splitting argument texts by the system's quoting rules.
#include "shared/CommandLineText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Corvane::Shared::SplitCommandLineText;

TEST(CommandLineText, SplitsByTheQuotingRules) {
    const struct {
        std::string text;
        std::vector<std::string> args;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"a b\tc", {"a", "b", "c"}},
        // The hand-over of a new window: the ID and the URI, each quoted.
        {R"("crv.demo" "file:///page 2.html")", {"crv.demo", "file:///page 2.html"}},
        {R"("" x)", {"", "x"}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"(C:\dir\ "x")", {R"(C:\dir\)", "x"}},
        {R"("a\"b")", {R"(a"b)"}},
        {R"("a\\" b)", {R"(a\)", "b"}},
        {R"("a\\\"b")", {R"(a\"b)"}},
        {R"("say ""hi""")", {R"(say "hi")"}},
        {R"("unterminated quote)", {"unterminated quote"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLineText(c.text), c.args) << c.text;
}
