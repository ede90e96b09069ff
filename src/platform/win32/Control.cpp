// Child controls as Win32 child windows: each control is a window its children (and the browser)
// are placed in; aligned children are arranged by the parent as its client area changes. Controls
// without a parent wait in the application's hidden window.
#include "platform/Control.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/Application.h"
#include "platform/win32/ControlTree.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/UiLoop.h"

namespace Platform {

struct TWinControl::TImpl {
    TWinControl* Owner = nullptr;
    HWND Window = nullptr;
    HWND FocusTarget = nullptr;
    TWinControl* Parent = nullptr;
    TForm* RootOf = nullptr; // set on a form's client control
    std::vector<TWinControl*> Children;
    TAlign Align = TAlign::None;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool HasFocus = false;

    void SetGeometry(int left, int top, int width, int height) {
        const bool resized = width != Width || height != Height;
        Left = left;
        Top = top;
        Width = std::max(0, width);
        Height = std::max(0, height);
        // The root's window is sized by the form itself.
        if (Window && !RootOf) MoveWindow(Window, Left, Top, Width, Height, TRUE);
        if (resized) {
            Arrange();
            Owner->Resized();
        }
    }

    // Top and bottom children take their height from the edges, the client child the rest.
    void Arrange() {
        int top = 0, bottom = Height;
        for (auto* child : Children) {
            auto& c = *child->FImpl;
            if (!c.Visible) continue;
            if (c.Align == TAlign::Top) {
                c.SetGeometry(0, top, Width, c.Height);
                top += c.Height;
            } else if (c.Align == TAlign::Bottom) {
                bottom -= c.Height;
                c.SetGeometry(0, bottom, Width, c.Height);
            }
        }
        for (auto* child : Children) {
            auto& c = *child->FImpl;
            if (c.Visible && c.Align == TAlign::Client)
                c.SetGeometry(0, top, Width, std::max(0, bottom - top));
        }
    }

    void Detach() {
        if (!Parent) return;
        auto& siblings = Parent->FImpl->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), Owner), siblings.end());
        if (Window) ::SetParent(Window, AppWindow());
        Parent->FImpl->Arrange();
        Parent = nullptr;
    }

    static void RegisterWindowClass() {
        static const bool registered = [] {
            WNDCLASSEXW cls{};
            cls.cbSize = sizeof cls;
            cls.lpfnWndProc = WindowProc;
            cls.hInstance = GetModuleHandleW(nullptr);
            cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            cls.lpszClassName = kControlClass;
            return RegisterClassExW(&cls) != 0;
        }();
        (void)registered;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TImpl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return DefWindowProcW(window, message, wParam, lParam);
        switch (message) {
        case WM_ERASEBKGND: {
            RECT rect;
            GetClientRect(window, &rect);
            HBRUSH brush = CreateSolidBrush(BackgroundOf(window));
            FillRect(reinterpret_cast<HDC>(wParam), &rect, brush);
            DeleteObject(brush);
            return 1;
        }
        case WM_CTLCOLOREDIT: {
            // Edit boxes take the theme's window colours; without a theme, the system's.
            const auto& theme = Win32ThemeColors();
            if (!theme.Active) break;
            static HBRUSH brush = nullptr;
            static COLORREF brushColor = 0;
            if (!brush || brushColor != theme.Window) {
                if (brush) DeleteObject(brush);
                brush = CreateSolidBrush(brushColor = theme.Window);
            }
            auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, theme.WindowText);
            SetBkColor(dc, theme.Window);
            return reinterpret_cast<LRESULT>(brush);
        }
        case WM_SETFOCUS:
            if (self->FocusTarget && IsWindow(self->FocusTarget)) ::SetFocus(self->FocusTarget);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->Window = nullptr;
            break;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

TWinControl::TWinControl() : FImpl(std::make_unique<TImpl>()) {
    FImpl->Owner = this;
    if (!EnsureUiInitialized()) return;
    TImpl::RegisterWindowClass();
    HWND window = CreateWindowExW(0, kControlClass, L"",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, 0,
                                  0, 0, 0, AppWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return;
    FImpl->Window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(FImpl.get()));
}

TWinControl::~TWinControl() {
    for (auto* child : std::vector<TWinControl*>(FImpl->Children))
        child->FImpl->Detach();
    FImpl->Detach();
    if (FImpl->Window) {
        SetWindowLongPtrW(FImpl->Window, GWLP_USERDATA, 0);
        DestroyWindow(FImpl->Window);
    }
}

void* TWinControl::Handle() const {
    return FImpl->Window;
}

void TWinControl::SetParent(TForm* form) {
    SetParent(form ? &form->ClientControl() : nullptr);
}

void TWinControl::SetParent(TWinControl* control) {
    if (control == FImpl->Parent) return;
    FImpl->Detach();
    if (control) {
        FImpl->Parent = control;
        control->FImpl->Children.push_back(this);
        if (FImpl->Window && control->FImpl->Window) {
            ::SetParent(FImpl->Window, control->FImpl->Window);
            MoveWindow(FImpl->Window, FImpl->Left, FImpl->Top, FImpl->Width, FImpl->Height, TRUE);
        }
        control->FImpl->Arrange();
    }
    ParentChanged();
}

bool TWinControl::HasParent() const {
    return FImpl->Parent != nullptr;
}

TForm* TWinControl::ParentForm() const {
    const TWinControl* c = this;
    while (c->FImpl->Parent)
        c = c->FImpl->Parent;
    return c->FImpl->RootOf;
}

void TWinControl::SetAlign(TAlign align) {
    FImpl->Align = align;
    if (FImpl->Parent) FImpl->Parent->FImpl->Arrange();
}

void TWinControl::SetHeight(int height) {
    FImpl->Height = height;
    if (FImpl->Parent) FImpl->Parent->FImpl->Arrange();
    if (FImpl->Align == TAlign::None) FImpl->SetGeometry(FImpl->Left, FImpl->Top, FImpl->Width, height);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    FImpl->SetGeometry(left, top, width, height);
}

void TWinControl::SetVisible(bool visible) {
    if (visible == FImpl->Visible) return;
    FImpl->Visible = visible;
    if (FImpl->Window) ShowWindow(FImpl->Window, visible ? SW_SHOWNA : SW_HIDE);
    if (FImpl->Parent) FImpl->Parent->FImpl->Arrange();
    VisibleChanged();
}

bool TWinControl::Visible() const {
    return FImpl->Visible;
}

TRect TWinControl::ClientRect() const {
    return {0, 0, FImpl->Width, FImpl->Height};
}

// A form that is not shown yet cannot take the focus; it goes to the control when the form is
// activated.
void TWinControl::SetFocus() {
    HWND window = FImpl->Window;
    if (!window) return;
    HWND target = FImpl->FocusTarget ? FImpl->FocusTarget : window;
    HWND root = GetAncestor(window, GA_ROOT);
    if (root) SetPropW(root, kFocusProperty, target);
    if (root && IsWindowVisible(root)) ::SetFocus(target);
    NoteFocus();
}

void TWinControl::SetTabStop(bool tabStop) {
    if (!FImpl->Window) return;
    const LONG_PTR style = GetWindowLongPtrW(FImpl->Window, GWL_STYLE);
    SetWindowLongPtrW(FImpl->Window, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

bool TWinControl::Focused() const {
    return FImpl->HasFocus;
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter();
}

void TWinControl::DoExit() {
    if (OnExit) OnExit();
}

HWND TControlAccess::Window(const TWinControl& control) {
    return control.FImpl->Window;
}

void TControlAccess::MakeClientOf(TWinControl& control, TForm* form, HWND formWindow) {
    control.FImpl->RootOf = form;
    if (control.FImpl->Window && formWindow) ::SetParent(control.FImpl->Window, formWindow);
}

void TControlAccess::SetRootSize(TWinControl& root, int width, int height) {
    if (root.FImpl->Window) MoveWindow(root.FImpl->Window, 0, 0, width, height, TRUE);
    root.FImpl->SetGeometry(0, 0, width, height);
}

void TControlAccess::ReleaseChildren(TWinControl& root) {
    for (auto* child : std::vector<TWinControl*>(root.FImpl->Children))
        child->FImpl->Detach();
}

void TControlAccess::SetFocusTarget(TWinControl& control, HWND target) {
    control.FImpl->FocusTarget = target;
}

std::vector<TWinControl*> TControlAccess::Tree(TWinControl& root) {
    std::vector<TWinControl*> all{&root};
    for (std::size_t i = 0; i < all.size(); ++i)
        for (auto* child : all[i]->FImpl->Children)
            all.push_back(child);
    return all;
}

void TControlAccess::FocusMoved(TWinControl& root, HWND window) {
    std::vector<TWinControl*> entering, leaving;
    for (auto* c : Tree(root)) {
        HWND w = c->FImpl->Window;
        const bool inside = window && w && (window == w || IsChild(w, window));
        if (inside == c->FImpl->HasFocus) continue;
        c->FImpl->HasFocus = inside;
        (inside ? entering : leaving).push_back(c);
    }
    // The innermost control is left first, the outermost entered first.
    for (auto it = leaving.rbegin(); it != leaving.rend(); ++it)
        (*it)->DoExit();
    for (auto* c : entering)
        c->DoEnter();
}

void TControlAccess::BroadcastSysCommand(TWinControl& root, TSysCommand command) {
    for (auto* c : Tree(root))
        c->SysCommand(command);
}

// A marquee bar that the common control animates by itself from a timer, only while the bar is shown.
TProgressBar::TProgressBar() {
    HWND parent = TControlAccess::Window(*this);
    if (!parent) return;
    HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_MARQUEE, 0, 0, 0, 0,
                               parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    FBar = bar;
    VisibleChanged();
}

void TProgressBar::VisibleChanged() {
    if (FBar) SendMessageW(static_cast<HWND>(FBar), PBM_SETMARQUEE, Visible() ? TRUE : FALSE, 30);
}

TProgressBar::~TProgressBar() = default;

void TProgressBar::Resized() {
    if (FBar) MoveWindow(static_cast<HWND>(FBar), 0, 0, ClientRect().Right, ClientRect().Bottom, TRUE);
}

} // namespace Platform
