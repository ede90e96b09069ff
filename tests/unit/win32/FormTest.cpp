// Forms of the Win32 backend: caption, outer bounds, border styles, states, size limits, stacking,
// the close query and modal runs, checked on the native window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "PumpUntil.h"
#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"

namespace {

using namespace Platform;

HWND Window(const TForm& form) {
    return static_cast<HWND>(form.Handle());
}

LONG_PTR Style(const TForm& form) {
    return GetWindowLongPtrW(Window(form), GWL_STYLE);
}

LONG_PTR ExStyle(const TForm& form) {
    return GetWindowLongPtrW(Window(form), GWL_EXSTYLE);
}

TEST(Win32Form, CaptionAndOuterBoundsReachTheWindowAndComeBack) {
    TForm form;
    form.SetCaption("Grüße – 測試");
    wchar_t text[64];
    GetWindowTextW(Window(form), text, 64);
    EXPECT_STREQ(text, L"Grüße – 測試");
    EXPECT_EQ(form.Caption(), "Grüße – 測試");

    form.SetBounds(40, 50, 400, 300);
    form.Show();
    RECT rect;
    GetWindowRect(Window(form), &rect);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right - rect.left, 400);
    EXPECT_EQ(rect.bottom - rect.top, 300);

    // Moved and sized from outside, as by the user.
    SetWindowPos(Window(form), nullptr, 60, 70, 500, 350, SWP_NOZORDER);
    EXPECT_EQ(form.Left(), 60);
    EXPECT_EQ(form.Top(), 70);
    EXPECT_EQ(form.Width(), 500);
    EXPECT_EQ(form.Height(), 350);

    // The client control fills the client area.
    GetClientRect(Window(form), &rect);
    EXPECT_EQ(form.ClientControl().ClientRect().Right, rect.right);
    EXPECT_EQ(form.ClientControl().ClientRect().Bottom, rect.bottom);
}

TEST(Win32Form, BorderStylesSetTheirStyleBitsAndKeepTheOuterSize) {
    struct TCase {
        TBorderStyle Style;
        LONG_PTR Set, Clear, ExSet, ExClear;
    };
    const TCase cases[] = {
        {TBorderStyle::None, WS_POPUP, WS_CAPTION | WS_THICKFRAME, 0, WS_EX_TOOLWINDOW},
        {TBorderStyle::Single, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         WS_THICKFRAME | WS_POPUP, 0, WS_EX_TOOLWINDOW},
        {TBorderStyle::Sizeable, WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_POPUP, 0,
         WS_EX_TOOLWINDOW},
        {TBorderStyle::Dialog, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         WS_EX_DLGMODALFRAME, WS_EX_TOOLWINDOW},
        {TBorderStyle::ToolWindow, WS_CAPTION, WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         WS_EX_TOOLWINDOW, 0},
        {TBorderStyle::SizeToolWin, WS_CAPTION | WS_THICKFRAME, WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         WS_EX_TOOLWINDOW, 0},
    };
    TForm form;
    form.SetBounds(10, 10, 300, 200);
    form.Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Style));
        form.SetBorderStyle(c.Style);
        EXPECT_EQ(form.BorderStyle(), c.Style);
        EXPECT_EQ(Style(form) & c.Set, c.Set);
        EXPECT_EQ(Style(form) & c.Clear, 0);
        EXPECT_EQ(ExStyle(form) & c.ExSet, c.ExSet);
        EXPECT_EQ(ExStyle(form) & c.ExClear, 0);
        EXPECT_TRUE(IsWindowVisible(Window(form)));
        RECT rect;
        GetWindowRect(Window(form), &rect);
        EXPECT_EQ(rect.right - rect.left, 300);
        EXPECT_EQ(rect.bottom - rect.top, 200);
    }
    form.SetBorderStyle(TBorderStyle::Sizeable);
    form.SetBorderIcons(false, true);
    EXPECT_EQ(Style(form) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_MAXIMIZEBOX);
}

TEST(Win32Form, StatesAreAppliedAndReportedBack) {
    TForm form;
    form.SetBounds(20, 20, 300, 200);
    // Asked for before the window shows: it shows that way.
    form.SetWindowState(TWindowState::Maximized);
    EXPECT_FALSE(IsZoomed(Window(form)));
    form.Show();
    EXPECT_TRUE(IsZoomed(Window(form)));
    EXPECT_EQ(form.WindowState(), TWindowState::Maximized);

    form.SetWindowState(TWindowState::Minimized);
    EXPECT_TRUE(IsIconic(Window(form)));
    EXPECT_EQ(form.WindowState(), TWindowState::Minimized);

    form.SetWindowState(TWindowState::Normal);
    EXPECT_FALSE(IsIconic(Window(form)) || IsZoomed(Window(form)));
    EXPECT_EQ(form.WindowState(), TWindowState::Normal);
    // The normal bounds survived the round trip.
    EXPECT_EQ(form.Width(), 300);

    // Changed from outside.
    ShowWindow(Window(form), SW_MAXIMIZE);
    EXPECT_EQ(form.WindowState(), TWindowState::Maximized);
}

TEST(Win32Form, FullScreenIsABorderlessMaximizedWindowOverTheWholeMonitor) {
    TForm form;
    form.SetBounds(50, 50, 800, 600);
    form.SetBorderStyle(TBorderStyle::None);
    form.SetWindowState(TWindowState::Maximized);
    form.Show();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(Window(form), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT rect;
    GetWindowRect(Window(form), &rect);
    EXPECT_EQ(rect.left, monitor.rcMonitor.left);
    EXPECT_EQ(rect.top, monitor.rcMonitor.top);
    EXPECT_EQ(rect.right, monitor.rcMonitor.right);
    EXPECT_EQ(rect.bottom, monitor.rcMonitor.bottom);

    // Back to a window: the bounds before full screen return.
    form.SetBorderStyle(TBorderStyle::Sizeable);
    form.SetWindowState(TWindowState::Normal);
    GetWindowRect(Window(form), &rect);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.right - rect.left, 800);
}

TEST(Win32Form, SizeLimitsHoldForBoundsAndForTheUser) {
    TForm form;
    form.SetConstraints({500, 400, 200, 150});
    form.SetBounds(0, 0, 800, 100);
    EXPECT_EQ(form.Width(), 500);
    EXPECT_EQ(form.Height(), 150);

    MINMAXINFO info{};
    info.ptMaxTrackSize = {4000, 4000};
    info.ptMaxSize = {4000, 4000};
    SendMessageW(Window(form), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
    EXPECT_EQ(info.ptMaxTrackSize.x, 500);
    EXPECT_EQ(info.ptMaxTrackSize.y, 400);

    // A minimum above the size asked for wins from the start; 0 is no limit.
    TForm wide;
    wide.SetConstraints({0, 0, 1000, 0});
    wide.SetBounds(0, 0, 800, 600);
    EXPECT_EQ(wide.Width(), 1000);
    EXPECT_EQ(wide.Height(), 600);
}

TEST(Win32Form, StayOnTopIsTheTopmostFlag) {
    TForm form;
    form.Show();
    form.SetStayOnTop(true);
    EXPECT_TRUE(form.StayOnTop());
    EXPECT_NE(ExStyle(form) & WS_EX_TOPMOST, 0);
    form.SetStayOnTop(false);
    EXPECT_EQ(ExStyle(form) & WS_EX_TOPMOST, 0);
}

TEST(Win32Form, ScreenCenterPlacesTheWindowInTheWorkArea) {
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    form.SetPosition(TPosition::ScreenCenter);
    form.Show();
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(form.Left(), area.left + (area.right - area.left - 300) / 2);
    EXPECT_EQ(form.Top(), area.top + (area.bottom - area.top - 200) / 2);
}

TEST(Win32Form, TheCloseQueryDecidesWhetherTheCloseBoxCloses) {
    TForm form;
    bool allow = false;
    int closes = 0;
    form.OnCloseQuery = [&](bool& canClose) { canClose = allow; };
    form.OnClose = [&] { ++closes; };
    form.Show();

    SendMessageW(Window(form), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(closes, 0);

    allow = true;
    SendMessageW(Window(form), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(closes, 1);
    // Closing hides: the window is still there to show again.
    EXPECT_TRUE(IsWindow(Window(form)));
}

TEST(Win32Form, ShowModalReturnsTheResultAndDisablesOtherWindowsMeanwhile) {
    TForm other;
    other.Show();
    TForm form;
    bool otherEnabledMeanwhile = true;
    AfterDelay(50, [&] {
        otherEnabledMeanwhile = IsWindowEnabled(Window(other));
        form.SetModalResult(mrYes);
    });
    EXPECT_EQ(form.ShowModal(), mrYes);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(otherEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(Window(other)));

    // The close box gives Cancel.
    AfterDelay(50, [&] { PostMessageW(Window(form), WM_CLOSE, 0, 0); });
    EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(Win32Form, ARefusedResultKeepsTheModalFormOpen) {
    TForm form;
    int queries = 0;
    form.OnCloseQuery = [&](bool& canClose) { canClose = ++queries > 1; };
    AfterDelay(50, [&] {
        form.SetModalResult(mrOk); // refused: the form waits on
        AfterDelay(50, [&] { form.SetModalResult(mrNo); });
    });
    EXPECT_EQ(form.ShowModal(), mrNo);
    EXPECT_EQ(queries, 2);
}

TEST(Win32Form, AlignedControlsShareTheClientArea) {
    TForm form;
    form.SetBounds(0, 0, 400, 300);
    TWinControl top, rest;
    top.SetParent(&form);
    top.SetAlign(TAlign::Top);
    top.SetHeight(30);
    rest.SetParent(&form);
    rest.SetAlign(TAlign::Client);
    RECT client;
    GetClientRect(Window(form), &client);
    RECT rect;
    GetWindowRect(static_cast<HWND>(rest.Handle()), &rect);
    EXPECT_EQ(rect.bottom - rect.top, client.bottom - 30);
    EXPECT_EQ(rest.ClientRect().Right, client.right);
    EXPECT_EQ(GetParent(static_cast<HWND>(rest.Handle())), form.ClientControl().Handle());
    EXPECT_EQ(rest.ParentForm(), &form);
    rest.SetParent(static_cast<TWinControl*>(nullptr));
    EXPECT_EQ(rest.ParentForm(), nullptr);
}

// The colour a window paints its background with.
COLORREF ErasedColor(HWND window) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const COLORREF color = GetPixel(dc, 1, 1);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return color;
}

TEST(Win32Form, ColourRegionAndPointerShapeTheWindow) {
    TForm form;
    form.SetBounds(0, 0, 200, 100);
    TWinControl panel;
    panel.SetParent(&form);
    panel.SetBounds(10, 10, 50, 50);
    form.SetColor(0x00CC6600);
    EXPECT_EQ(ErasedColor(Window(form)), RGB(0x00, 0x66, 0xCC));
    // Controls show the form's background through.
    EXPECT_EQ(ErasedColor(static_cast<HWND>(panel.Handle())), RGB(0x00, 0x66, 0xCC));

    EXPECT_TRUE(form.SetRoundRectRegion(201, 101, 4, 4));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Window(form), region), ERROR);
    RECT box;
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.right, 200);
    EXPECT_EQ(box.bottom, 100);
    EXPECT_FALSE(form.SetRoundRectRegion(0, 0, 4, 4));

    form.SetCursor(TCursor::AppStart);
    SendMessageW(static_cast<HWND>(panel.Handle()), WM_SETCURSOR, reinterpret_cast<WPARAM>(panel.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_APPSTARTING));
}

class TCountingForm : public TForm {
public:
    int Created = 0;

protected:
    void WindowCreated() override { ++Created; }
};

class TCountingControl : public TWinControl {
public:
    std::vector<TSysCommand> Commands;

protected:
    void SysCommand(TSysCommand command) override { Commands.push_back(command); }
};

TEST(Win32Form, WindowCreatedRunsOnceAndControlsHearMinimizeAndRestore) {
    TCountingForm form;
    TCountingControl control;
    control.SetParent(&form);
    EXPECT_EQ(form.Created, 0);
    form.Show();
    form.Show();
    EXPECT_EQ(form.Created, 1);
    form.SetWindowState(TWindowState::Minimized);
    form.SetWindowState(TWindowState::Normal);
    EXPECT_EQ(control.Commands, (std::vector<TSysCommand>{TSysCommand::Minimize, TSysCommand::Restore}));
}

} // namespace
