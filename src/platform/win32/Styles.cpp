// The style manager over Win32: the active palette gives the colours that our windows and menus
// draw with; a switch restyles every open window of the thread at once.
#include "platform/Styles.h"

#include <dwmapi.h>
#include <windows.h>

#include <cstdlib>

#include "platform/StyleRegistry.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/WindowTheme.h"

namespace Platform {

namespace {

// Older headers lack these attributes; systems without them refuse, which leaves the default.
constexpr DWORD kDarkModeAttribute = 20;     // DWMWA_USE_IMMERSIVE_DARK_MODE
constexpr DWORD kCaptionColorAttribute = 35; // DWMWA_CAPTION_COLOR
constexpr COLORREF kDefaultCaptionColor = 0xFFFFFFFF;

COLORREF ParseColour(const char* text) {
    if (!text || text[0] != '#') return RGB(0, 0, 0);
    const unsigned long value = std::strtoul(text + 1, nullptr, 16);
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

TWin32ThemeColors ColoursOfActiveStyle() {
    const auto& palette = StyleRegistry::Active().Palette;
    if (!palette) {
        return {false,
                GetSysColor(COLOR_WINDOW),
                GetSysColor(COLOR_WINDOWTEXT),
                GetSysColor(COLOR_BTNFACE),
                GetSysColor(COLOR_BTNTEXT),
                GetSysColor(COLOR_HIGHLIGHT),
                GetSysColor(COLOR_HIGHLIGHTTEXT),
                GetSysColor(COLOR_MENUBAR),
                GetSysColor(COLOR_MENUTEXT)};
    }
    return {true,
            ParseColour(palette->Window),
            ParseColour(palette->Text),
            ParseColour(palette->Button),
            ParseColour(palette->Text),
            ParseColour(palette->Accent),
            ParseColour(palette->AccentText),
            ParseColour(palette->MenuBar),
            ParseColour(palette->MenuBarText)};
}

TWin32ThemeColors& Colours() {
    static TWin32ThemeColors colours = ColoursOfActiveStyle();
    return colours;
}

bool IsDark(COLORREF colour) {
    return GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114 < 128 * 1000;
}

BOOL CALLBACK RestyleWindow(HWND window, LPARAM) {
    ApplyStyleToWindow(window);
    SendMessageW(window, ThemeChangedMessage(), 0, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

} // namespace

const TWin32ThemeColors& Win32ThemeColors() {
    return Colours();
}

UINT ThemeChangedMessage() {
    static const UINT message = RegisterWindowMessageW(L"CrvThemeChanged");
    return message;
}

void ApplyStyleToWindow(HWND window) {
    const auto& colours = Colours();
    const BOOL dark = colours.Active && IsDark(colours.Window);
    const COLORREF caption = colours.Active ? colours.MenuBar : kDefaultCaptionColor;
    DwmSetWindowAttribute(window, kDarkModeAttribute, &dark, sizeof dark);
    DwmSetWindowAttribute(window, kCaptionColorAttribute, &caption, sizeof caption);
}

void RegisterStyle(const std::string& name, const TStylePalette& palette) {
    StyleRegistry::Register(name, palette);
}

std::vector<std::string> StyleNames() {
    return StyleRegistry::Names();
}

bool SetActiveStyle(const std::string& name) {
    const auto found = StyleRegistry::Find(name);
    if (!found) return false;
    StyleRegistry::ActiveIndex() = *found;
    Colours() = ColoursOfActiveStyle();
    RestyleMenus();
    EnumThreadWindows(GetCurrentThreadId(), RestyleWindow, 0);
    return true;
}

std::string ActiveStyleName() {
    return StyleRegistry::Active().Name;
}

} // namespace Platform
