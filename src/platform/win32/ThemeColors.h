// The colours of the chosen visual theme, for windows that paint their own background and text.
#pragma once

#include <windows.h>

namespace Platform {

struct TWin32ThemeColors {
    bool Active = false; // false: the system's own colours apply
    COLORREF Window = 0, WindowText = 0, ButtonFace = 0, ButtonText = 0, Highlight = 0, HighlightText = 0,
             MenuBar = 0, MenuText = 0;
};

const TWin32ThemeColors& Win32ThemeColors();

} // namespace Platform
