// Tests of the desktop's window captions and of synthetic key presses; they need a display.
#include "platform/WindowList.h"
#include "platform/Keyboard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "platform/win32/Wide.h"

namespace {

using Platform::Win32::Widen;

HWND MakeWindow(const std::string& caption, bool visible) {
    HWND window = CreateWindowExW(0, L"STATIC", Widen(caption).c_str(),
                                  WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10, 300, 200, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    return window;
}

void PumpMessages() {
    MSG message;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

size_t CountOf(const std::vector<std::string>& captions, const std::string& caption) {
    return static_cast<size_t>(std::count(captions.begin(), captions.end(), caption));
}

TEST(WindowList, CaptionsOfHiddenAndShownWindowsUntrimmed) {
    const std::string shown = " crv shown \xE2\x98\x83 ", hidden = "crv hidden window";
    HWND windows[] = {MakeWindow(shown, true), MakeWindow(hidden, false), MakeWindow(hidden, false),
                      MakeWindow("   ", false)};
    const auto captions = Platform::TopLevelWindowCaptions();
    EXPECT_EQ(CountOf(captions, shown), 1u);
    EXPECT_EQ(CountOf(captions, hidden), 2u);
    EXPECT_GE(CountOf(captions, "   "), 1u);
    for (HWND window : windows)
        DestroyWindow(window);
    EXPECT_EQ(CountOf(Platform::TopLevelWindowCaptions(), hidden), 0u);
}

TEST(Keyboard, KeyReachesTheFocusedWindow) {
    EXPECT_FALSE(Platform::PressVirtualKey(0));
    EXPECT_FALSE(Platform::PressVirtualKey(0x1FF));

    HWND frame = MakeWindow("crv keyboard test", true);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 30, frame, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(frame);
    SetFocus(edit);
    PumpMessages();
    ASSERT_EQ(GetFocus(), edit);
    EXPECT_TRUE(Platform::PressVirtualKey('K'));
    EXPECT_TRUE(Platform::PressVirtualKey(VK_END));
    EXPECT_TRUE(Platform::PressVirtualKey('3'));
    PumpMessages();
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"k3");
    DestroyWindow(frame);
}

} // namespace
