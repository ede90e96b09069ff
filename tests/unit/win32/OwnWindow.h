// Finds a top-level window of this test process: test programs run side by side on one desktop, and
// a window of the same title may belong to another one.
#pragma once

#include <windows.h>

inline HWND FindOwnWindow(const wchar_t* windowClass, const wchar_t* title) {
    for (HWND window = FindWindowExW(nullptr, nullptr, windowClass, title); window;
         window = FindWindowExW(nullptr, window, windowClass, title)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}
