// The look of a form's window: background colour, mouse pointer, clipping shape, drop shadow and
// repainting on a theme switch.
#include <windows.h>

#include "platform/Form.h"
#include "platform/win32/FormImpl.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/UiLoop.h"

namespace Platform {

namespace {

UINT ThemeChangedMessage() {
    static const UINT message = RegisterWindowMessageW(L"CrvThemeChanged");
    return message;
}

void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

} // namespace

COLORREF TForm::TImpl::Background() const {
    if (HasColor) return Color;
    const auto& theme = Win32ThemeColors();
    return theme.Active ? theme.ButtonFace : GetSysColor(COLOR_BTNFACE);
}

bool TForm::TImpl::HandleLookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kBackgroundMessage) {
        result = static_cast<LRESULT>(Background());
        return true;
    }
    if (message == ThemeChangedMessage()) {
        Repaint(Window);
        result = 0;
        return true;
    }
    switch (message) {
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(Window, &rect);
        HBRUSH brush = CreateSolidBrush(Background());
        FillRect(reinterpret_cast<HDC>(wParam), &rect, brush);
        DeleteObject(brush);
        result = 1;
        return true;
    }
    case WM_SETCURSOR:
        // Child windows ask their parents first, so this covers the controls too.
        if (Cursor != TCursor::AppStart || LOWORD(lParam) != HTCLIENT) return false;
        ::SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
        result = TRUE;
        return true;
    }
    return false;
}

void TForm::TImpl::ApplyShadowToClass() {
    if (!Window) return;
    const ULONG_PTR style = GetClassLongPtrW(Window, GCL_STYLE);
    const ULONG_PTR wanted = Shadow ? style | CS_DROPSHADOW : style & ~static_cast<ULONG_PTR>(CS_DROPSHADOW);
    if (wanted != style) SetClassLongPtrW(Window, GCL_STYLE, wanted);
}

void TForm::SetColor(std::uint32_t color) {
    FImpl->HasColor = true;
    FImpl->Color = static_cast<COLORREF>(color & 0x00FFFFFF);
    if (FImpl->Window) Repaint(FImpl->Window);
}

// The system draws the shadow of a window shown while its class asks for one; forms share the
// class, so each form sets it to its own wish just before it shows.
void TForm::SetDropShadow(bool shadow) {
    FImpl->Shadow = shadow;
}

void TForm::SetCursor(TCursor cursor) {
    FImpl->Cursor = cursor;
    POINT point;
    // The pointer changes at once when it is over the window, not only when it next moves.
    if (FImpl->Window && GetCursorPos(&point) && WindowFromPoint(point) &&
        GetAncestor(WindowFromPoint(point), GA_ROOT) == FImpl->Window)
        SendMessageW(FImpl->Window, WM_SETCURSOR, reinterpret_cast<WPARAM>(FImpl->Window), HTCLIENT);
}

// The system's round-rectangle regions already leave out the last column and row.
bool TForm::SetRoundRectRegion(int right, int bottom, int ellipseWidth, int ellipseHeight) {
    if (!FImpl->Window || right <= 1 || bottom <= 1) return false;
    HRGN region = CreateRoundRectRgn(0, 0, right, bottom, ellipseWidth, ellipseHeight);
    if (!region) return false;
    // The window owns the region once it is set.
    if (!SetWindowRgn(FImpl->Window, region, TRUE)) {
        DeleteObject(region);
        return false;
    }
    return true;
}

} // namespace Platform
