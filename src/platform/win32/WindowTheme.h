// Putting the active style on native windows and menus of the Win32 backend.
#pragma once

#include <windows.h>

namespace Platform {

// The message that tells a top-level window of the process that the active style changed: it
// draws itself again.
UINT ThemeChangedMessage();
// The title bar of a top-level window in the active style: dark mode and caption colour where the
// system has them.
void ApplyStyleToWindow(HWND window);
// Every menu of the process takes the active style (defined with the menus).
void RestyleMenus();

} // namespace Platform
