// Tests of the Win32 style manager: names, switching without letter case, the colours that our
// windows draw with, and the notice that every open window gets.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Styles.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/WindowTheme.h"

using namespace Platform;

namespace {

constexpr TStylePalette kNight{"#101418", "#c8d0d8", "#182028", "#00a0c0", "#000000",
                               "#0a0e12", "#a0b0c0", "#202830", "#303840"};
constexpr TStylePalette kOther{"#ffffff", "#000000", "#ffffff", "#0000ff", "#ffffff",
                               "#eeeeee", "#111111", "#dddddd", "#cccccc"};

int gNotices = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ThemeChangedMessage()) ++gNotices;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TEST(Win32Styles, SwitchesByNameWithoutLetterCaseAndKeepsTheFirstRegistration) {
    RegisterStyle("Cyan Night", kNight);
    RegisterStyle("CYAN NIGHT", kOther);
    const auto names = StyleNames();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], kSystemStyleName);
    EXPECT_EQ(std::count(names.begin(), names.end(), "CYAN NIGHT"), 0);

    EXPECT_EQ(ActiveStyleName(), kSystemStyleName);
    EXPECT_FALSE(Win32ThemeColors().Active);
    EXPECT_EQ(Win32ThemeColors().Window, GetSysColor(COLOR_WINDOW));

    ASSERT_TRUE(SetActiveStyle("cyan night"));
    EXPECT_EQ(ActiveStyleName(), "Cyan Night");
    const auto& colours = Win32ThemeColors();
    EXPECT_TRUE(colours.Active);
    EXPECT_EQ(colours.Window, RGB(0x10, 0x14, 0x18));
    EXPECT_EQ(colours.WindowText, RGB(0xc8, 0xd0, 0xd8));
    EXPECT_EQ(colours.Highlight, RGB(0x00, 0xa0, 0xc0));
    EXPECT_EQ(colours.MenuBar, RGB(0x0a, 0x0e, 0x12));
    EXPECT_EQ(colours.MenuText, RGB(0xa0, 0xb0, 0xc0));

    EXPECT_FALSE(SetActiveStyle("Cyan"));
    EXPECT_FALSE(SetActiveStyle(""));
    EXPECT_EQ(ActiveStyleName(), "Cyan Night");

    ASSERT_TRUE(SetActiveStyle("windows"));
    EXPECT_EQ(ActiveStyleName(), kSystemStyleName);
    EXPECT_FALSE(Win32ThemeColors().Active);
}

TEST(Win32Styles, EveryTopLevelWindowOfTheThreadHearsOfASwitch) {
    WNDCLASSW type{};
    type.lpfnWndProc = CountingProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"CrvCountingWindow";
    RegisterClassW(&type);
    HWND shown = CreateWindowExW(0, type.lpszClassName, L"shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, type.hInstance, nullptr);
    HWND hidden = CreateWindowExW(0, type.lpszClassName, L"hidden", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, type.hInstance, nullptr);
    RegisterStyle("Cyan Night", kNight);
    gNotices = 0;
    ASSERT_TRUE(SetActiveStyle("Cyan Night"));
    EXPECT_EQ(gNotices, 2);
    EXPECT_FALSE(SetActiveStyle("no such style"));
    EXPECT_EQ(gNotices, 2) << "a refused switch changes nothing";
    ASSERT_TRUE(SetActiveStyle(kSystemStyleName));
    EXPECT_EQ(gNotices, 4);
    DestroyWindow(shown);
    DestroyWindow(hidden);
}
