// Pumping one message, following the keyboard focus, modality and the lookups forms and controls
// share.
#include "platform/win32/UiLoop.h"

#include <windows.h>

#include "platform/Control.h"
#include "platform/Form.h"
#include "platform/win32/ControlTree.h"
#include "platform/win32/ThemeColors.h"

namespace Platform {

namespace {

HWND gLastFocus = nullptr;

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP;
}

// Key presses go to the form's shortcuts before the focused window sees them.
bool TakenAsShortCut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    TForm* form = FormOfWindow(msg.hwnd);
    return form && form->IsShortCut({msg.message, static_cast<std::uintptr_t>(msg.wParam),
                                     static_cast<std::intptr_t>(msg.lParam)});
}

} // namespace

bool PumpMessage(bool wait, HWND dialog) {
    MSG msg;
    if (wait) {
        if (GetMessageW(&msg, nullptr, 0, 0) < 0) return false;
    } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (msg.message == WM_QUIT) {
        // Left for the outermost loop.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (TakenAsShortCut(msg)) return true;
    if (dialog && IsDialogMessageW(dialog, &msg)) {
        if (IsKeyMessage(msg.message)) NoteFocus();
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    NoteFocus();
    return true;
}

TForm* FormOfWindow(HWND window) {
    if (!window) return nullptr;
    HWND root = GetAncestor(window, GA_ROOT);
    wchar_t name[32];
    if (!root || !GetClassNameW(root, name, 32) || lstrcmpW(name, kFormClass) != 0) return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

// The system tells each window of its own focus, but not the forms about windows inside them that
// are not ours (the browser's); comparing after every message covers both.
void NoteFocus() {
    HWND focus = GetFocus();
    if (focus == gLastFocus) return;
    TForm* before = IsWindow(gLastFocus) ? FormOfWindow(gLastFocus) : nullptr;
    TForm* now = FormOfWindow(focus);
    gLastFocus = focus;
    if (before && before != now) TControlAccess::FocusMoved(before->ClientControl(), nullptr);
    if (now) TControlAccess::FocusMoved(now->ClientControl(), focus);
}

HWND ActiveWindow() {
    HWND active = GetActiveWindow();
    return active && IsWindowVisible(active) ? active : nullptr;
}

int DpiOf(HWND window) {
    const UINT dpi = window ? GetDpiForWindow(window) : GetDpiForSystem();
    return dpi ? static_cast<int>(dpi) : 96;
}

COLORREF BackgroundOf(HWND window) {
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (root && FormOfWindow(root))
        return static_cast<COLORREF>(SendMessageW(root, kBackgroundMessage, 0, 0));
    const auto& theme = Win32ThemeColors();
    return theme.Active ? theme.ButtonFace : GetSysColor(COLOR_BTNFACE);
}

TModalScope::TModalScope(HWND modal) {
    struct TWalk {
        HWND Modal;
        std::vector<HWND>* Disabled;
    } walk{modal, &FDisabled};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto& w = *reinterpret_cast<TWalk*>(data);
            if (window != w.Modal && IsWindowVisible(window) && IsWindowEnabled(window)) {
                w.Disabled->push_back(window);
                EnableWindow(window, FALSE);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
}

TModalScope::~TModalScope() {
    for (HWND window : FDisabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
}

} // namespace Platform
