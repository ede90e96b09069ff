// Access keys and separator lines of one menu level.
#include "platform/MenuText.h"

#include <gtest/gtest.h>

namespace {

using namespace Platform::MenuText;
using Strings = std::vector<std::string>;

TEST(MenuTextTest, EveryItemGetsTheFirstCharacterThatNoSiblingUses) {
    // Marked keys are kept and reserved before any automatic one is chosen.
    EXPECT_EQ(AssignAccessKeys({"File", "Edit", "Find", "Fi&x", "-", "Help", "42"}),
              (Strings{"&File", "&Edit", "F&ind", "Fi&x", "-", "&Help", "&42"}));
    // Letters compare without case; a caption with no free character keeps none.
    EXPECT_EQ(AssignAccessKeys({"ab", "AB", "a", "é!"}), (Strings{"&ab", "A&B", "a", "é!"}));
    // A literal ampersand is not a mark, and the key goes after it.
    EXPECT_EQ(AssignAccessKeys({"&&x", "Save & Exit", "&"}), (Strings{"&&&x", "&Save & Exit", "&"}));
}

TEST(MenuTextTest, MarkedKeys) {
    EXPECT_EQ(MarkedKey("&Open"), "o");
    EXPECT_EQ(MarkedKey("Sa&ve"), "v");
    EXPECT_EQ(MarkedKey("&&Open"), "");
    EXPECT_EQ(MarkedKey("A & B"), "");
    EXPECT_EQ(MarkedKey("end&"), "");
    EXPECT_EQ(MarkedKey("&Über"), "Ü");
}

TEST(MenuTextTest, UnderlineNotation) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Open", "_Open"},        {"a_b &c", "a__b _c"}, {"&&x", "&x"},      {"A & B", "A & B"},
        {"&One &Two", "_One Two"}, {"end&", "end&"},      {"plain", "plain"}, {"&&&y", "&_y"},
    };
    for (const auto& [caption, expected] : cases)
        EXPECT_EQ(ToUnderlineNotation(caption), expected) << caption;
}

TEST(MenuTextTest, SeparatorsShowOnlyBetweenItemsAndOnceInARow) {
    const bool item = false, sep = true;
    EXPECT_EQ(ShownItems({sep, item, sep, sep, item, sep}),
              (std::vector<bool>{false, true, true, false, true, false}));
    EXPECT_EQ(ShownItems({sep, sep}), (std::vector<bool>{false, false}));
    EXPECT_EQ(ShownItems({item, sep, item, sep, sep, sep, item}),
              (std::vector<bool>{true, true, true, true, false, false, true}));
    EXPECT_EQ(ShownItems({}), std::vector<bool>{});
}

} // namespace
