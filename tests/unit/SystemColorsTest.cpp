// Tests of the colours of the settings: plain colours and the system colours they may name.
#include "runtime/SystemColors.h"

#include <gtest/gtest.h>

using Corvane::Runtime::ColorToRGB;

TEST(SystemColorsTest, ColoursAndSystemColourIndexes) {
    struct {
        std::int32_t Color;
        std::uint32_t Rgb;
    } const cases[] = {
        {0x0000FF, 0x0000FF},   // pure red, as $00BBGGRR
        {0x00CC6600, 0xCC6600}, // blue-ish, kept as it is
        {0x12345678, 0x345678}, // only the low three bytes are a colour
        {-16777190, 0xCC6600},  // $FF00001A: the hot-track colour, RGB(0, 102, 204)
        {static_cast<std::int32_t>(0xFF000005), 0xFFFFFF}, // window background
        {static_cast<std::int32_t>(0xFF00001E), 0xF0F0F0}, // menu bar, the last one
        {static_cast<std::int32_t>(0xFF00001F), 0},        // no such system colour
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorToRGB(c.Color), c.Rgb) << std::hex << c.Color;
}
