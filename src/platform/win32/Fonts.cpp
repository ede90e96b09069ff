// Text measured with GDI on a memory device context.
#include "platform/Fonts.h"

#include <windows.h>

#include "platform/win32/Wide.h"

namespace Platform {

namespace {

// Without a family of the caller's, the family of the system's message boxes.
std::wstring DefaultFamily() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return metrics.lfMessageFont.lfFaceName;
    return L"Segoe UI";
}

} // namespace

int TextWidthInPixels(const TFontDescription& font, const std::string& text) {
    if (font.PixelSize <= 0) return -1;
    if (text.empty()) return 0;
    const std::wstring family = font.Family.empty() ? DefaultFamily() : Win32::Widen(font.Family);
    const std::wstring wide = Win32::Widen(text);
    // A negative height asks for the em height rather than the cell height.
    HFONT handle =
        CreateFontW(-font.PixelSize, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, font.Italic, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, family.substr(0, LF_FACESIZE - 1).c_str());
    if (!handle) return -1;
    int width = -1;
    if (HDC dc = CreateCompatibleDC(nullptr)) {
        HGDIOBJ previous = SelectObject(dc, handle);
        SIZE size{};
        if (GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size)) width = size.cx;
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    DeleteObject(handle);
    return width;
}

} // namespace Platform
