// The loading bar of the Win32 backend animates from its timer only while it is shown.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/Control.h"
#include "platform/Form.h"

namespace {

using namespace Platform;

// Whether the bar's marquee timer fires within the given time (its messages are left queued).
bool TimerFires(HWND bar, DWORD milliseconds) {
    MSG message;
    PeekMessageW(&message, bar, WM_TIMER, WM_TIMER, PM_REMOVE);
    const ULONGLONG until = GetTickCount64() + milliseconds;
    while (GetTickCount64() < until) {
        if (PeekMessageW(&message, bar, WM_TIMER, WM_TIMER, PM_NOREMOVE)) return true;
        Sleep(5);
    }
    return false;
}

TEST(Win32ProgressBar, AnimatesOnlyWhileShown) {
    TForm form;
    TProgressBar progress;
    progress.SetParent(&form);
    HWND bar = GetWindow(static_cast<HWND>(progress.Handle()), GW_CHILD);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(TimerFires(bar, 500));
    progress.SetVisible(false);
    EXPECT_FALSE(TimerFires(bar, 300));
    progress.SetVisible(true);
    EXPECT_TRUE(TimerFires(bar, 500));
}

} // namespace
