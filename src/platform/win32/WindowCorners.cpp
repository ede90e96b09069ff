// The corner preference of the desktop window manager; systems without the attribute refuse it
// harmlessly, and the refusal is not reported.
#include "platform/WindowCorners.h"

#include <windows.h>

#include <dwmapi.h>

namespace Platform {

void SetWindowCornerPreference(void* window, int value) {
    constexpr DWORD kCornerPreference = 33; // DWMWA_WINDOW_CORNER_PREFERENCE
    if (!window) return;
    const DWORD preference = static_cast<DWORD>(value);
    DwmSetWindowAttribute(static_cast<HWND>(window), kCornerPreference, &preference, sizeof preference);
}

} // namespace Platform
