// Message dialogs: a small window of our own, so that the buttons carry the captions asked for;
// error boxes are the system's message box.
#include "platform/Dialogs.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform/Application.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/UiLoop.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace {

constexpr const wchar_t* kDialogClass = L"CrvMessageDialog";

struct TButtonFacts {
    int Result;
    const char* StandardCaption;
};

// Indexed by TDialogButton, in its order.
constexpr TButtonFacts kButtons[] = {{mrYes, "&Yes"}, {mrNo, "&No"}, {mrOk, "OK"}, {mrCancel, "Cancel"}};

// Indexed by TDialogKind, in its order.
const wchar_t* const kKindIcons[] = {IDI_ERROR, IDI_QUESTION, IDI_INFORMATION, IDI_WARNING};

// Sizes in pixels at 96 dots per inch.
constexpr int kMargin = 12, kGap = 8, kIcon = 32, kTextWidth = 420, kButtonWidth = 75, kButtonHeight = 23,
              kButtonPadding = 16;

struct TDialog {
    int Result = mrNone;
    int DefaultResult = 0;
    HICON Icon = nullptr;
    int IconSize = 0;
    POINT IconAt{};
    HFONT Font = nullptr;
    HBRUSH Background = nullptr;
};

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = reinterpret_cast<TDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!dialog) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        // A button's identifier is its result; Escape sends IDCANCEL, which is mrCancel.
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) != 0) dialog->Result = LOWORD(wParam);
        return 0;
    case DM_GETDEFID:
        return dialog->DefaultResult ? MAKELRESULT(dialog->DefaultResult, DC_HASDEFID) : 0;
    case WM_CLOSE:
        dialog->Result = mrCancel;
        return 0;
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(window, &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, dialog->Background);
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        const auto& theme = Win32ThemeColors();
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, theme.Active ? theme.ButtonText : GetSysColor(COLOR_BTNTEXT));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(dialog->Background);
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (dialog->Icon)
            DrawIconEx(dc, dialog->IconAt.x, dialog->IconAt.y, dialog->Icon, dialog->IconSize,
                       dialog->IconSize, 0, nullptr, DI_NORMAL);
        EndPaint(window, &paint);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterDialogClass() {
    static const bool registered = [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = DialogProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.lpszClassName = kDialogClass;
        return RegisterClassExW(&cls) != 0;
    }();
    (void)registered;
}

// Custom captions are shown as given: an ampersand in them is not an access key.
std::wstring ButtonText(const std::string& caption, bool custom) {
    std::wstring text = Win32::Widen(caption);
    if (!custom) return text;
    std::wstring escaped;
    for (wchar_t c : text) {
        escaped += c;
        if (c == L'&') escaped += L'&';
    }
    return escaped;
}

SIZE TextSize(HDC dc, const std::wstring& text, int maxWidth, UINT flags) {
    RECT rect{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
    return {rect.right, rect.bottom};
}

void Trace(const TMessageDialogOptions& options, const std::vector<std::string>& captions) {
    std::string buttons;
    for (const auto& caption : captions)
        buttons += " [" + caption + "]";
    std::fprintf(stderr, "%s: %s%s\n", options.Title.c_str(), options.Text.c_str(), buttons.c_str());
    std::fflush(stderr);
}

// Makes the dialog's window and its children, sized to the text and the buttons, centred on the
// screen.
HWND CreateDialogWindow(TDialog& dialog, const TMessageDialogOptions& options,
                        const std::vector<TDialogButton>& buttons, const std::vector<std::string>& captions) {
    HWND owner = ActiveWindow();
    const int dpi = DpiOf(owner);
    auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    dialog.Font = CreateFontIndirectW(&metrics.lfMessageFont);

    HDC dc = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, dialog.Font);
    const std::wstring text = Win32::Widen(options.Text);
    constexpr UINT kTextFlags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
    const SIZE textSize = TextSize(dc, text, scaled(kTextWidth), kTextFlags);
    std::vector<std::wstring> buttonTexts;
    std::vector<int> buttonWidths;
    int buttonsWidth = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttonTexts.push_back(ButtonText(captions[i], i < options.ButtonCaptions.size()));
        const int width =
            std::max<int>(scaled(kButtonWidth),
                          TextSize(dc, buttonTexts.back(), 10000, DT_SINGLELINE).cx + scaled(kButtonPadding));
        buttonWidths.push_back(width);
        buttonsWidth += width + (i ? scaled(kGap) : 0);
    }
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);

    dialog.IconSize = scaled(kIcon);
    dialog.IconAt = {scaled(kMargin), scaled(kMargin)};
    dialog.Icon = static_cast<HICON>(LoadImageW(nullptr, kKindIcons[static_cast<int>(options.Kind)],
                                                IMAGE_ICON, dialog.IconSize, dialog.IconSize, LR_SHARED));
    const int textLeft = scaled(kMargin) + dialog.IconSize + scaled(kMargin);
    const int bodyHeight = std::max<int>(dialog.IconSize, textSize.cy);
    const int clientWidth =
        std::max<int>(textLeft + textSize.cx + scaled(kMargin), buttonsWidth + 2 * scaled(kMargin));
    const int buttonTop = scaled(kMargin) + bodyHeight + scaled(kMargin);
    const int clientHeight = buttonTop + scaled(kButtonHeight) + scaled(kMargin);

    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);

    RegisterDialogClass();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND window = CreateWindowExW(kExStyle, kDialogClass, Win32::Widen(options.Title).c_str(), kStyle,
                                  area.left + (area.right - area.left - width) / 2,
                                  area.top + (area.bottom - area.top - height) / 2, width, height, owner,
                                  nullptr, instance, nullptr);
    if (!window) return nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dialog));
    auto withFont = [&dialog](HWND child) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(dialog.Font), FALSE);
        return child;
    };
    withFont(CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                             textLeft, scaled(kMargin) + (bodyHeight - textSize.cy) / 2, textSize.cx,
                             textSize.cy, window, nullptr, instance, nullptr));
    int left = clientWidth - scaled(kMargin) - buttonsWidth;
    HWND defaultButton = nullptr;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const int result = kButtons[static_cast<int>(buttons[i])].Result;
        const bool isDefault = result == dialog.DefaultResult;
        HWND button = withFont(CreateWindowExW(
            0, L"BUTTON", buttonTexts[i].c_str(),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), left,
            buttonTop, buttonWidths[i], scaled(kButtonHeight), window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(result)), instance, nullptr));
        if (isDefault || !defaultButton) defaultButton = button;
        left += buttonWidths[i] + scaled(kGap);
    }
    if (defaultButton) SetFocus(defaultButton);
    return window;
}

} // namespace

int ShowMessageDialog(const TMessageDialogOptions& options) {
    std::vector<TDialogButton> buttons = options.Buttons;
    if (buttons.empty()) buttons.push_back(TDialogButton::OK);
    std::sort(buttons.begin(), buttons.end());
    buttons.erase(std::unique(buttons.begin(), buttons.end()), buttons.end());

    std::vector<std::string> captions;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        captions.push_back(i < options.ButtonCaptions.size()
                               ? options.ButtonCaptions[i]
                               : kButtons[static_cast<int>(buttons[i])].StandardCaption);
    Trace(options, captions);
    if (!EnsureUiInitialized() || EndingProgram()) return mrCancel;

    TDialog dialog;
    // The default button is OK when present, otherwise Yes.
    const auto has = [&buttons](TDialogButton b) {
        return std::find(buttons.begin(), buttons.end(), b) != buttons.end();
    };
    dialog.DefaultResult = has(TDialogButton::OK) ? mrOk : has(TDialogButton::Yes) ? mrYes : 0;
    const auto& theme = Win32ThemeColors();
    dialog.Background = CreateSolidBrush(theme.Active ? theme.ButtonFace : GetSysColor(COLOR_BTNFACE));

    HWND window = CreateDialogWindow(dialog, options, buttons, captions);
    if (window) {
        {
            TModalScope scope(window);
            ShowWindow(window, SW_SHOWNORMAL);
            SetForegroundWindow(window);
            while (dialog.Result == mrNone && !EndingProgram())
                if (!PumpMessage(true, window)) break;
        }
        // Destroyed once the owner is enabled again, so that the owner is activated, not some other
        // program's window.
        DestroyWindow(window);
    }
    if (dialog.Font) DeleteObject(dialog.Font);
    DeleteObject(dialog.Background);
    return dialog.Result > 0 ? dialog.Result : mrCancel;
}

void ShowErrorBox(const std::string& text, const std::string& title) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (!EnsureUiInitialized() || EndingProgram()) return;
    MessageBoxW(ActiveWindow(), Win32::Widen(text).c_str(), Win32::Widen(title).c_str(),
                MB_OK | MB_ICONERROR);
}

} // namespace Platform
