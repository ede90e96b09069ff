// The colours that windows of the Win32 backend draw with under the active style.
#pragma once

#include <windows.h>

namespace Platform {

// Active: a palette of ours is in use; false under the system look, where the fields hold the
// system's colours.
struct TWin32ThemeColors {
    bool Active;
    COLORREF Window, WindowText, ButtonFace, ButtonText, Highlight, HighlightText, MenuBar, MenuText;
};

const TWin32ThemeColors& Win32ThemeColors();

} // namespace Platform
