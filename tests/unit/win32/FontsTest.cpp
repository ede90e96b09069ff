// Tests of measuring text with GDI.
#include <gtest/gtest.h>

#include "platform/Fonts.h"

using namespace Platform;

TEST(Win32Fonts, MeasuresWidthThatGrowsWithTextSizeAndWeight) {
    const TFontDescription font{"Tahoma", 16, false, false};
    const int hello = TextWidthInPixels(font, "Hello");
    EXPECT_GT(hello, 10);
    EXPECT_LT(hello, 80);
    EXPECT_GT(TextWidthInPixels(font, "Hello, world"), hello);
    EXPECT_GT(TextWidthInPixels({"Tahoma", 32, false, false}, "Hello"), hello * 3 / 2);
    EXPECT_GE(TextWidthInPixels({"Tahoma", 16, true, false}, "Hello"), hello);
    // Text beyond ASCII is measured as characters, not bytes.
    EXPECT_LT(TextWidthInPixels(font, "\xc3\xa9\xc3\xa9\xc3\xa9"), TextWidthInPixels(font, "eeeeee"));
}

TEST(Win32Fonts, AnswersForEmptyTextBadSizesAndUnknownFamilies) {
    EXPECT_EQ(TextWidthInPixels({"Tahoma", 16, false, false}, ""), 0);
    EXPECT_EQ(TextWidthInPixels({"Tahoma", 0, false, false}, "x"), -1);
    EXPECT_EQ(TextWidthInPixels({"Tahoma", -3, false, false}, "x"), -1);
    EXPECT_GT(TextWidthInPixels({"No Such Family 123", 16, false, false}, "Hello"), 0);
    EXPECT_GT(TextWidthInPixels({"", 16, false, false}, "Hello"), 0);
}
