// The file dialogs' filters as read from a page's fileTypes text.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/FileTypes.h"

using Corvane::Bridge::ParseFileTypes;
using TPairs = std::vector<std::pair<std::string, std::string>>;

namespace {

TPairs Parsed(const std::string& text) {
    TPairs pairs;
    for (const auto& type : ParseFileTypes(text))
        pairs.emplace_back(type.DisplayName, type.FileMask);
    return pairs;
}

} // namespace

TEST(DialogFileTypes, EntriesWithExactlyOneBarBecomeFiltersInOrder) {
    const struct {
        const char* text;
        TPairs expected;
    } cases[] = {
        {"Text files|*.txt;All files|*.*", {{"Text files", "*.txt"}, {"All files", "*.*"}}},
        // The split at ";" comes first: the second mask stands alone and is skipped.
        {"Text|*.txt;*.md", {{"Text", "*.txt"}}},
        {"no bar;two|bars|here;Ok|*.ok", {{"Ok", "*.ok"}}},
        {"", {}},
        {";;", {}},
        // Pieces are kept as written, empty ones included.
        {"|;  Spaced  | *.s ;Empty mask|", {{"", ""}, {"  Spaced  ", " *.s "}, {"Empty mask", ""}}},
        {"Ünïcode|*.ü", {{"Ünïcode", "*.ü"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parsed(c.text), c.expected) << c.text;
}
