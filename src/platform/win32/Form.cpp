// Top-level windows over Win32 windows: the client control fills the client area; sizes and
// positions are those of the outer window.
#include "platform/Form.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "platform/Menu.h"
#include "platform/win32/ControlTree.h"
#include "platform/win32/FormImpl.h"
#include "platform/win32/MenuAccess.h"
#include "platform/win32/UiLoop.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace {

struct TBorderFacts {
    DWORD Style;
    DWORD ExStyle;
    bool HasBoxes; // whether minimize and maximize boxes may show
};

// Indexed by TBorderStyle, in its order.
constexpr TBorderFacts kBorders[] = {
    {WS_POPUP, 0, false},
    {WS_CAPTION | WS_SYSMENU, 0, true},
    {WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, true},
    {WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, false},
    {WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, false},
    {WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW, false},
};

constexpr DWORD kBorderStyleBits =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kBorderExStyleBits = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;

bool IsMenuMessage(UINT message) {
    switch (message) {
    case WM_COMMAND:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
    case WM_UNINITMENUPOPUP:
        return true;
    }
    return false;
}

void RegisterFormClass(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.style = CS_DBLCLKS;
        cls.lpfnWndProc = proc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        cls.lpszClassName = kFormClass;
        return RegisterClassExW(&cls) != 0;
    }();
    (void)registered;
}

} // namespace

int TForm::TImpl::ClampWidth(int w) const {
    if (Constraints.MaxWidth > 0) w = std::min(w, Constraints.MaxWidth);
    return std::max(w, Constraints.MinWidth);
}

int TForm::TImpl::ClampHeight(int h) const {
    if (Constraints.MaxHeight > 0) h = std::min(h, Constraints.MaxHeight);
    return std::max(h, Constraints.MinHeight);
}

void TForm::TImpl::ApplyBorder() {
    if (!Window) return;
    const TBorderFacts& facts = kBorders[static_cast<int>(Border)];
    DWORD style = facts.Style;
    if (facts.HasBoxes && MinimizeBox) style |= WS_MINIMIZEBOX;
    if (facts.HasBoxes && MaximizeBox) style |= WS_MAXIMIZEBOX;
    const auto oldStyle = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_STYLE));
    const auto oldExStyle = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_EXSTYLE));
    SetWindowLongPtrW(Window, GWL_STYLE, (oldStyle & ~kBorderStyleBits) | style);
    SetWindowLongPtrW(Window, GWL_EXSTYLE, (oldExStyle & ~kBorderExStyleBits) | facts.ExStyle);
    // The outer size stays; the frame is drawn anew and the client area follows. The size is set
    // again: a frame with a caption has a minimum width that may have widened the window.
    SetWindowPos(Window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyBounds();
}

void TForm::TImpl::ApplyBounds() {
    Width = ClampWidth(Width);
    Height = ClampHeight(Height);
    if (!Window) return TControlAccess::SetRootSize(Client, Width, Height);
    if (IsIconic(Window) || IsZoomed(Window)) {
        // The bounds the window returns to.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(Window, &placement);
        placement.rcNormalPosition = {Left, Top, Left + Width, Top + Height};
        SetWindowPlacement(Window, &placement);
        return;
    }
    SetWindowPos(Window, nullptr, Left, Top, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Centred on the primary monitor's work area, or where the system placed the new window.
void TForm::TImpl::PlaceForFirstShow() {
    if (Position == TPosition::ScreenCenter) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        Left = area.left + (area.right - area.left - Width) / 2;
        Top = area.top + (area.bottom - area.top - Height) / 2;
    } else if (Position == TPosition::DefaultPos) {
        Left = DefaultLeft;
        Top = DefaultTop;
    }
    ApplyBounds();
}

LRESULT CALLBACK TForm::TImpl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->FImpl->Window = window;
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    return form->FImpl->Handle(message, wParam, lParam);
}

LRESULT TForm::TImpl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Owner->FMenu && IsMenuMessage(message) &&
        TMenuAccess::HandleMessage(*Owner->FMenu, Window, message, wParam, lParam, result))
        return result;
    if (HandleLookMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_CLOSE:
        Owner->Close(); // it decides; the window is hidden, never destroyed, by closing
        return 0;
    case WM_GETMINMAXINFO: {
        auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
        if (Constraints.MinWidth > 0)
            info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, Constraints.MinWidth);
        if (Constraints.MinHeight > 0)
            info.ptMinTrackSize.y = std::max<LONG>(info.ptMinTrackSize.y, Constraints.MinHeight);
        if (Constraints.MaxWidth > 0) info.ptMaxTrackSize.x = info.ptMaxSize.x = Constraints.MaxWidth;
        if (Constraints.MaxHeight > 0) info.ptMaxTrackSize.y = info.ptMaxSize.y = Constraints.MaxHeight;
        return 0;
    }
    case WM_WINDOWPOSCHANGED:
        // A hidden window keeps the bounds asked for: the system may have widened it to the minimum of
        // a frame that the form changes before it shows.
        if (IsWindowVisible(Window) && !IsIconic(Window) && !IsZoomed(Window)) {
            RECT rect;
            GetWindowRect(Window, &rect);
            Left = rect.left;
            Top = rect.top;
            Width = rect.right - rect.left;
            Height = rect.bottom - rect.top;
        }
        break; // DefWindowProc sends WM_SIZE and WM_MOVE
    case WM_SIZE: {
        const TWindowState before = State;
        if (IsWindowVisible(Window))
            State = wParam == SIZE_MINIMIZED   ? TWindowState::Minimized
                    : wParam == SIZE_MAXIMIZED ? TWindowState::Maximized
                                               : TWindowState::Normal;
        if (wParam != SIZE_MINIMIZED) TControlAccess::SetRootSize(Client, LOWORD(lParam), HIWORD(lParam));
        if ((before == TWindowState::Minimized) != (State == TWindowState::Minimized))
            TControlAccess::BroadcastSysCommand(
                Client, State == TWindowState::Minimized ? TSysCommand::Minimize : TSysCommand::Restore);
        return 0;
    }
    case WM_ACTIVATE: {
        // The focus goes back to the control that had it, or was given it before the form showed.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Window, focus)) SetPropW(Window, kFocusProperty, focus);
            break;
        }
        auto focus = static_cast<HWND>(GetPropW(Window, kFocusProperty));
        if (focus && IsWindow(focus) && IsChild(Window, focus)) {
            SetFocus(focus);
            NoteFocus();
            return 0;
        }
        break;
    }
    case WM_DPICHANGED: {
        const auto& suggested = *reinterpret_cast<RECT*>(lParam);
        SetWindowPos(Window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
        Window = nullptr;
        return 0;
    }
    return DefWindowProcW(Window, message, wParam, lParam);
}

TForm::TForm() : FImpl(std::make_unique<TImpl>()) {
    auto& d = *FImpl;
    d.Owner = this;
    if (EnsureUiInitialized()) {
        RegisterFormClass(TImpl::WindowProc);
        CreateWindowExW(0, kFormClass, L"",
                        kBorders[static_cast<int>(d.Border)].Style | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                            WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, d.Width, d.Height, nullptr, nullptr,
                        GetModuleHandleW(nullptr), this);
    }
    if (d.Window) {
        RECT rect;
        GetWindowRect(d.Window, &rect);
        d.DefaultLeft = rect.left;
        d.DefaultTop = rect.top;
    }
    TControlAccess::MakeClientOf(d.Client, this, d.Window);
    d.ApplyBounds();
}

TForm::~TForm() {
    SetMenu(nullptr);
    if (HWND window = FImpl->Window) {
        // Controls still placed in the form outlive its window.
        TControlAccess::ReleaseChildren(FImpl->Client);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        FImpl->Window = nullptr;
        DestroyWindow(window);
    }
}

void TForm::SetCaption(const std::string& caption) {
    FImpl->Caption = caption;
    if (FImpl->Window) SetWindowTextW(FImpl->Window, Win32::Widen(caption).c_str());
}

std::string TForm::Caption() const {
    return FImpl->Caption;
}

void TForm::SetBounds(int left, int top, int width, int height) {
    FImpl->Left = left;
    FImpl->Top = top;
    FImpl->Width = width;
    FImpl->Height = height;
    FImpl->ApplyBounds();
}

void TForm::SetClientSize(int width, int height) {
    const TBorderFacts& facts = kBorders[static_cast<int>(FImpl->Border)];
    DWORD style = facts.Style;
    DWORD exStyle = facts.ExStyle;
    if (FImpl->Window) {
        style = static_cast<DWORD>(GetWindowLongPtrW(FImpl->Window, GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongPtrW(FImpl->Window, GWL_EXSTYLE));
    }
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FMenu != nullptr, exStyle);
    SetBounds(FImpl->Left, FImpl->Top, frame.right - frame.left, frame.bottom - frame.top);
}

void TForm::SetLeft(int left) {
    SetBounds(left, FImpl->Top, FImpl->Width, FImpl->Height);
}
void TForm::SetTop(int top) {
    SetBounds(FImpl->Left, top, FImpl->Width, FImpl->Height);
}
void TForm::SetWidth(int width) {
    SetBounds(FImpl->Left, FImpl->Top, width, FImpl->Height);
}
void TForm::SetHeight(int height) {
    SetBounds(FImpl->Left, FImpl->Top, FImpl->Width, height);
}
int TForm::Left() const {
    return FImpl->Left;
}
int TForm::Top() const {
    return FImpl->Top;
}
int TForm::Width() const {
    return FImpl->Width;
}
int TForm::Height() const {
    return FImpl->Height;
}

void TForm::SetConstraints(const TSizeConstraints& constraints) {
    FImpl->Constraints = constraints;
    FImpl->ApplyBounds();
}

void TForm::SetPosition(TPosition position) {
    FImpl->Position = position;
}

void TForm::SetBorderStyle(TBorderStyle style) {
    FImpl->Border = style;
    FImpl->ApplyBorder();
}

void TForm::SetBorderIcons(bool minimize, bool maximize) {
    FImpl->MinimizeBox = minimize;
    FImpl->MaximizeBox = maximize;
    FImpl->ApplyBorder();
}

TBorderStyle TForm::BorderStyle() const {
    return FImpl->Border;
}

void TForm::SetWindowState(TWindowState state) {
    HWND window = FImpl->Window;
    // A shown window reports its new state itself (WM_SIZE); a hidden one takes it when shown.
    if (!window || !IsWindowVisible(window)) {
        FImpl->State = state;
        return;
    }
    switch (state) {
    case TWindowState::Maximized:
        ShowWindow(window, SW_MAXIMIZE);
        break;
    case TWindowState::Minimized:
        ShowWindow(window, SW_MINIMIZE);
        break;
    case TWindowState::Normal:
        // A minimized window restores to maximized when it was maximized before.
        for (int i = 0; i < 2 && (IsIconic(window) || IsZoomed(window)); ++i)
            ShowWindow(window, SW_RESTORE);
        break;
    }
}

TWindowState TForm::WindowState() const {
    HWND window = FImpl->Window;
    if (!window || !IsWindowVisible(window)) return FImpl->State;
    return IsIconic(window)   ? TWindowState::Minimized
           : IsZoomed(window) ? TWindowState::Maximized
                              : TWindowState::Normal;
}

void TForm::SetStayOnTop(bool stayOnTop) {
    FImpl->StayOnTop = stayOnTop;
    if (FImpl->Window)
        SetWindowPos(FImpl->Window, stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TForm::StayOnTop() const {
    return FImpl->StayOnTop;
}

bool TForm::Visible() const {
    return FImpl->Window && IsWindowVisible(FImpl->Window);
}

void TForm::Show() {
    HWND window = FImpl->Window;
    if (!window) return;
    if (!FImpl->Shown) {
        FImpl->Shown = true;
        FImpl->PlaceForFirstShow();
        WindowCreated();
    }
    if (!IsWindowVisible(window)) {
        FImpl->ApplyShadowToClass();
        const TWindowState state = FImpl->State;
        ShowWindow(window, state == TWindowState::Maximized   ? SW_SHOWMAXIMIZED
                           : state == TWindowState::Minimized ? SW_SHOWMINIMIZED
                                                              : SW_SHOWNORMAL);
    }
    SetForegroundWindow(window);
    UpdateWindow(window);
    NoteFocus();
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    if (!canClose) return;
    if (FImpl->Window) ShowWindow(FImpl->Window, SW_HIDE);
    if (OnClose) OnClose();
}

void* TForm::Handle() const {
    return FImpl->Window;
}

TWinControl& TForm::ClientControl() {
    return FImpl->Client;
}

bool TForm::IsShortCut(const TKeyMessage& message) {
    if (FMenu && TMenuAccess::IsShortCut(*FMenu, message)) return true;
    return OnShortCut && OnShortCut(message);
}

// The window keeps its outer size: the bar's room comes from the client area.
void TForm::SetMenu(TMainMenu* menu) {
    if (FMenu == menu) return;
    HWND window = FImpl->Window;
    if (FMenu) {
        if (window) ::SetMenu(window, nullptr);
        TMenuAccess::SetForm(*FMenu, nullptr);
    }
    if (menu && menu->Form()) menu->Form()->SetMenu(nullptr);
    FMenu = menu;
    if (menu) {
        if (window) ::SetMenu(window, TMenuAccess::Bar(*menu));
        TMenuAccess::SetForm(*menu, this);
    }
    if (window) DrawMenuBar(window);
}

// A nested loop runs until a result is set or the window hides, which is how closing shows.
int TForm::ShowModal() {
    FModalResult = mrNone;
    HWND window = FImpl->Window;
    if (!window) return FModalResult = mrCancel;
    HWND previous = ActiveWindow();
    auto scope = std::make_unique<TModalScope>(window);
    FModalLoop = window;
    Show();
    for (;;) {
        while (FModalResult == mrNone && IsWindowVisible(window) && !EndingProgram())
            if (!PumpMessage(true)) break;
        if (!IsWindowVisible(window)) break;
        if (EndingProgram()) {
            // The program is ending: the form goes as if cancelled, whatever it would answer.
            ShowWindow(window, SW_HIDE);
            FModalResult = mrCancel;
            break;
        }
        if (FModalResult == mrNone) break; // the loop was told to quit
        // A result closes the form unless OnCloseQuery refuses; then the form stays and waits on.
        Close();
        if (!IsWindowVisible(window)) break;
        FModalResult = mrNone;
    }
    FModalLoop = nullptr;
    scope.reset();
    // The window hid while the others were disabled: the one active before takes the activation back.
    if (previous && previous != window && IsWindowVisible(previous)) SetActiveWindow(previous);
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return FModalResult;
}

void TForm::SetModalResult(int result) {
    FModalResult = result;
    if (FModalLoop && result != mrNone) WakeMessageLoop();
}

} // namespace Platform
