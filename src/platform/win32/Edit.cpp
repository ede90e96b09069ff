// The edit box as a system EDIT window inside the control's window; the left button's picture is
// drawn in the edit's left margin.
#include "platform/Edit.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "platform/ImageList.h"
#include "platform/win32/ControlTree.h"
#include "platform/win32/UiLoop.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace {

constexpr int kPictureGap = 4; // between the picture and the text, in pixels at 96 dots per inch

int Scaled(int pixels, HWND window) {
    return MulDiv(pixels, DpiOf(window), 96);
}

} // namespace

struct TEdit::TImpl {
    TEdit* Owner = nullptr;
    HWND Edit = nullptr;
    HFONT Font = nullptr;
    std::string FontFamily;
    int FontPixels = 0;
    const TSizedImageList* Images = nullptr;
    int ImageIndex = -1;

    ~TImpl() {
        if (Edit) RemoveWindowSubclass(Edit, EditProc, 0);
        if (Font) DeleteObject(Font);
    }

    int PictureWidth() const { return Images && ImageIndex >= 0 ? Scaled(Images->Width(), Edit) : 0; }

    void ApplyMargin() {
        const int picture = PictureWidth();
        const int margin = picture ? picture + Scaled(kPictureGap, Edit) : 0;
        SendMessageW(Edit, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(margin, 0));
        InvalidateRect(Edit, nullptr, TRUE);
    }

    // The list gives a 32-bit picture with its alpha premultiplied, at the screen's whole scale.
    void DrawPicture() {
        if (!PictureWidth()) return;
        const int scale = (DpiOf(Edit) + 95) / 96;
        auto* bitmap = static_cast<HBITMAP>(Images->Picture(ImageIndex, !IsWindowEnabled(Edit), scale));
        BITMAP info{};
        if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
        RECT client;
        GetClientRect(Edit, &client);
        const int width = PictureWidth(), height = Scaled(Images->Height(), Edit);
        const int top = (client.bottom - height) / 2;
        HDC dc = GetDC(Edit);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, 1, top, width, height, source, 0, 0, info.bmWidth, info.bmHeight, blend);
        SelectObject(source, old);
        DeleteDC(source);
        ReleaseDC(Edit, dc);
    }

    static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
        auto* self = reinterpret_cast<TImpl*>(data);
        switch (message) {
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            if (self->Owner->OnKeyUp) self->Owner->OnKeyUp();
            return result;
        }
        case WM_CHAR:
            // A one-line edit beeps at Enter and Escape; here they just do nothing.
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
            break;
        case WM_PAINT: {
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            self->DrawPicture();
            return result;
        }
        case WM_ENABLE:
            InvalidateRect(window, nullptr, TRUE);
            break;
        case WM_DPICHANGED_AFTERPARENT:
            self->ApplyFont();
            self->ApplyMargin();
            break;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    // The face falls back through the system's font mapper where the family is not installed.
    void ApplyFont() {
        if (!Edit) return;
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        LOGFONTW font = metrics.lfMessageFont;
        if (FontPixels > 0) font.lfHeight = -Scaled(FontPixels, Edit);
        if (!FontFamily.empty()) {
            const std::wstring family = Win32::Widen(FontFamily);
            lstrcpynW(font.lfFaceName, family.c_str(), LF_FACESIZE);
        }
        HFONT created = CreateFontIndirectW(&font);
        if (!created) return;
        SendMessageW(Edit, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
        if (Font) DeleteObject(Font);
        Font = created;
    }
};

TEdit::TEdit() : FEdit(std::make_unique<TImpl>()) {
    FEdit->Owner = this;
    HWND parent = TControlAccess::Window(*this);
    if (!parent) return;
    HWND edit =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                        0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!edit) return;
    FEdit->Edit = edit;
    SetWindowSubclass(edit, TImpl::EditProc, 0, reinterpret_cast<DWORD_PTR>(FEdit.get()));
    // The control's own window passes the focus on to the edit.
    TControlAccess::SetFocusTarget(*this, edit);
    SetTabStop(false);
    FEdit->ApplyFont();
}

TEdit::~TEdit() = default;

std::string TEdit::Text() const {
    if (!FEdit->Edit) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(FEdit->Edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(FEdit->Edit, text.data(), static_cast<int>(text.size()))));
    return Win32::Narrow(text);
}

void TEdit::SetText(const std::string& text) {
    if (FEdit->Edit) SetWindowTextW(FEdit->Edit, Win32::Widen(text).c_str());
}

// The edit shows one UTF-16 unit per character; a character beyond that plane shows as '*'.
void TEdit::SetPasswordChar(char32_t passwordChar) {
    if (!FEdit->Edit) return;
    const wchar_t shown = passwordChar > 0xFFFF ? L'*' : static_cast<wchar_t>(passwordChar);
    SendMessageW(FEdit->Edit, EM_SETPASSWORDCHAR, shown, 0);
    InvalidateRect(FEdit->Edit, nullptr, TRUE);
}

void TEdit::SetFont(const std::string& family, int pixelHeight) {
    FEdit->FontFamily = family;
    FEdit->FontPixels = pixelHeight;
    FEdit->ApplyFont();
}

void TEdit::SetEnabled(bool enabled) {
    if (FEdit->Edit) EnableWindow(FEdit->Edit, enabled);
}

bool TEdit::Enabled() const {
    return FEdit->Edit && IsWindowEnabled(FEdit->Edit);
}

void TEdit::SetLeftButtonImage(const TSizedImageList* images, int imageIndex) {
    FEdit->Images = images;
    FEdit->ImageIndex = imageIndex;
    if (FEdit->Edit) FEdit->ApplyMargin();
}

void TEdit::Resized() {
    if (FEdit->Edit) MoveWindow(FEdit->Edit, 0, 0, ClientRect().Right, ClientRect().Bottom, TRUE);
}

} // namespace Platform
