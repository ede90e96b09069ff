// Tests of the style list, its order, the lookup of names and the built-in palettes.
#include "shared/StylesUtils.h"

#include "shared/ThemePalettes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using Corvane::Shared::BuiltInStyles;
using Corvane::Shared::TStylesUtils;

namespace {

// Styles work without a display (start-up may choose one before any window exists), and without
// one the error box only writes its line: these tests never open the display.
const bool kNoDisplay = [] {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    return true;
}();

const std::vector<std::string> kSortedNames = {
    "Amakrits",
    "Amethyst Kamri",
    "Aqua Graphite",
    "Aqua Light Slate",
    "Auric",
    "Carbon",
    "Charcoal Dark Slate",
    "Cobalt XEMedia",
    "Cyan Dusk",
    "Cyan Night",
    "Emerald Light Slate",
    "Glossy",
    "Glow",
    "Golden Graphite",
    "Iceberg Classico",
    "Lavender Classico",
    "Light",
    "Luna",
    "Metropolis UI Black",
    "Metropolis UI Blue",
    "Metropolis UI Dark",
    "Metropolis UI Green",
    "Obsidian",
    "Onyx Blue",
    "Ruby Graphite",
    "Sapphire Kamri",
    "Silver",
    "Sky",
    "Slate Classico",
    "Smokey Quartz Kamri",
    "Tablet Dark",
    "Tablet Light",
    "Turquoise Gray",
    "Windows",
    "Windows10",
    "Windows10 Blue",
    "Windows10 Dark",
    "Windows10 Green",
    "Windows10 Purple",
    "Windows10 SlateGray",
};

// WCAG relative luminance of "#rrggbb".
double Luminance(const std::string& colour) {
    const auto channel = [&colour](int at) {
        const double c = std::stoi(colour.substr(at, 2), nullptr, 16) / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(1) + 0.7152 * channel(3) + 0.0722 * channel(5);
}

double Contrast(const std::string& a, const std::string& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsHexColour(const std::string& colour) {
    return colour.size() == 7 && colour[0] == '#' &&
           colour.find_first_not_of("0123456789abcdef", 1) == std::string::npos;
}

} // namespace

TEST(StylesUtils, ListsEveryStyleInTheDocumentedOrder) {
    ASSERT_TRUE(kNoDisplay);
    std::vector<std::string> names{"left over"};
    TStylesUtils::GetAvailables(names, true);
    EXPECT_EQ(names, kSortedNames);

    // Unsorted: the same names, the system look registered first.
    TStylesUtils::GetAvailables(names, false);
    ASSERT_EQ(names.size(), kSortedNames.size());
    EXPECT_EQ(names.front(), "Windows");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              std::set<std::string>(kSortedNames.begin(), kSortedNames.end()));
}

TEST(StylesUtils, FindsNamesWithoutCaseAndKeepsTheStyleForUnknownOnes) {
    EXPECT_EQ(TStylesUtils::GetActiveTheme(), "Windows");
    // name asked for, active name afterwards (each step starts from the previous one)
    const std::vector<std::tuple<std::string, std::string>> steps = {
        {"Windows10 Dark", "Windows10 Dark"},
        {"carbon", "Carbon"},
        {"No Such Style", "Carbon"},
        {"", "Carbon"},
        {"Carbon ", "Carbon"},
        {"WINDOWS10", "Windows10"},
        {"windows", "Windows"},
        {"metropolis ui BLUE", "Metropolis UI Blue"},
    };
    for (const auto& [name, active] : steps) {
        testing::internal::CaptureStderr();
        TStylesUtils::TrySetStyle(name, false);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << name;
        EXPECT_EQ(TStylesUtils::GetActiveTheme(), active) << name;
    }
}

TEST(StylesUtils, UnknownNameShowsTheErrorBoxOnlyWhenAsked) {
    TStylesUtils::TrySetStyle("Sky", true);
    testing::internal::CaptureStderr();
    TStylesUtils::TrySetStyle("Skyy", true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Style 'Skyy' not found [OK]\n");
    EXPECT_EQ(TStylesUtils::GetActiveTheme(), "Sky");

    testing::internal::CaptureStderr();
    TStylesUtils::TrySetStyle("sky", true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Each built-in style is a look of its own, and its text is readable on its backgrounds.
TEST(StylesUtils, PalettesAreDistinctAndReadable) {
    std::set<std::vector<std::string>> looks;
    for (const auto& style : BuiltInStyles()) {
        const auto& p = style.Palette;
        const std::vector<std::string> colours = {p.Window,  p.Text,        p.Base,   p.Accent, p.AccentText,
                                                  p.MenuBar, p.MenuBarText, p.Button, p.Border};
        for (const auto& colour : colours)
            EXPECT_TRUE(IsHexColour(colour)) << style.Name << ": " << colour;
        EXPECT_TRUE(looks.insert(colours).second) << style.Name << " repeats another style's colours";
        EXPECT_GE(Contrast(p.Text, p.Window), 4.5) << style.Name << ": text on the window";
        EXPECT_GE(Contrast(p.Text, p.Base), 4.5) << style.Name << ": text in entries and menus";
        EXPECT_GE(Contrast(p.Text, p.Button), 4.5) << style.Name << ": text on buttons";
        EXPECT_GE(Contrast(p.MenuBarText, p.MenuBar), 4.5) << style.Name << ": menu bar";
        EXPECT_GE(Contrast(p.AccentText, p.Accent), 4.5) << style.Name << ": selected items";
    }
}
