// Helpers of the Win32 backend's tests: fixture bytes and a bare top-level window that passes its
// messages to a menu, as a form does. Each <Name>Test.cpp links with src/platform/win32/*.cpp,
// FormStub.cpp and GoogleTest (-static -lole32 -luuid -lwindowscodecs -lgdi32 -luser32 -lshell32
// -ldwmapi) and runs under Wine from the source tree's root.
#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/MenuAccess.h"

namespace TestSupport {

// A file of tests/fixtures, the tests running from the source tree.
inline std::vector<std::uint8_t> ReadFixture(const std::string& name) {
    std::ifstream file("tests/fixtures/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The menu whose messages the test window passes on.
inline Platform::TMainMenu*& ShownMenu() {
    static Platform::TMainMenu* menu = nullptr;
    return menu;
}

inline LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ShownMenu() &&
        Platform::TMenuAccess::HandleMessage(*ShownMenu(), window, message, wParam, lParam, result))
        return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

inline HWND MakeTopLevelWindow(const wchar_t* title, bool visible = false) {
    static const ATOM atom = [] {
        WNDCLASSW type{};
        type.lpfnWndProc = TestWindowProc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        type.lpszClassName = L"CrvTestWindow";
        return RegisterClassW(&type);
    }();
    (void)atom;
    return CreateWindowExW(0, L"CrvTestWindow", title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 40,
                           40, 480, 320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Handles what is queued, without waiting.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace TestSupport
