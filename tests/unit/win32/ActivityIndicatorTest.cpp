// The busy indicator of the Win32 backend: its sizes, and that it draws in its colour only while
// it animates.
#include <windows.h>

#include <gtest/gtest.h>

#include "PumpUntil.h"
#include "platform/ActivityIndicator.h"
#include "platform/Form.h"

namespace {

using namespace Platform;

// Pixels of the indicator's drawing window that are exactly the given colour.
int CountPixels(const TActivityIndicator& indicator, COLORREF color) {
    HWND area = GetWindow(static_cast<HWND>(indicator.Handle()), GW_CHILD);
    RECT rect;
    GetClientRect(area, &rect);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(area, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < rect.bottom; ++y)
        for (int x = 0; x < rect.right; ++x)
            count += GetPixel(dc, x, y) == color;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return count;
}

TEST(Win32ActivityIndicator, SizesKeepThePositionAndTheDrawingFollows) {
    TForm form;
    TActivityIndicator indicator;
    indicator.SetParent(&form);
    indicator.SetPosition(9, 8);
    for (auto size : {TActivityIndicatorSize::Small, TActivityIndicatorSize::XLarge}) {
        indicator.SetIndicatorSize(size);
        const int pixels = TActivityIndicator::SizeInPixels(size);
        HWND area = GetWindow(static_cast<HWND>(indicator.Handle()), GW_CHILD);
        RECT rect;
        GetClientRect(area, &rect);
        EXPECT_EQ(rect.right, pixels);
        EXPECT_EQ(rect.bottom, pixels);
        GetWindowRect(static_cast<HWND>(indicator.Handle()), &rect);
        MapWindowPoints(nullptr, static_cast<HWND>(form.ClientControl().Handle()),
                        reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, 9);
        EXPECT_EQ(rect.top, 8);
    }
}

TEST(Win32ActivityIndicator, DrawsInItsColourOnTheFormsBackgroundOnlyWhileAnimating) {
    TForm form;
    form.SetColor(0x00CC6600);
    TActivityIndicator indicator;
    indicator.SetParent(&form);
    indicator.SetIndicatorSize(TActivityIndicatorSize::XLarge);
    const int all = 64 * 64;
    EXPECT_EQ(CountPixels(indicator, RGB(0x00, 0x66, 0xCC)), all); // stopped: background only
    for (auto type : {TActivityIndicatorType::MomentumDots, TActivityIndicatorType::RotatingSector,
                      TActivityIndicatorType::SectorRing}) {
        for (auto color : {TActivityIndicatorColor::White, TActivityIndicatorColor::Black}) {
            SCOPED_TRACE(static_cast<int>(type) * 2 + static_cast<int>(color));
            indicator.SetIndicatorType(type);
            indicator.SetIndicatorColor(color);
            indicator.SetAnimate(true);
            const COLORREF ink = color == TActivityIndicatorColor::White ? RGB(255, 255, 255) : RGB(0, 0, 0);
            EXPECT_GT(CountPixels(indicator, ink), 10);
            EXPECT_LT(CountPixels(indicator, ink), all / 2);
            indicator.SetAnimate(false);
            EXPECT_EQ(CountPixels(indicator, ink), 0);
        }
    }
}

} // namespace
