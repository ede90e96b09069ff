// The Win32 message loop, work handed to the UI thread through a hidden window, and the end of the
// session or Ctrl-C ending the program in order.
#include "platform/Application.h"

#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <exception>
#include <mutex>

#include "platform/Dialogs.h"
#include "platform/win32/UiLoop.h"

namespace Platform {

namespace {

constexpr UINT kRunQueuedMessage = WM_APP + 0x71;
constexpr UINT kEndProgramMessage = WM_APP + 0x72;
constexpr const wchar_t* kAppWindowClass = L"CrvApplication";

HWND gAppWindow = nullptr;
int gLoopDepth = 0;
bool gQuitRequested = false;
bool gEnding = false;
std::string gApplicationTitle;

std::mutex gQueueLock;
std::deque<std::function<void()>> gQueue;

// One queued function per message; another message is posted first when more wait, so that a
// function that runs a modal loop does not hold up the rest.
void RunOneQueued() {
    std::function<void()> fn;
    {
        std::lock_guard lock(gQueueLock);
        if (gQueue.empty()) return;
        fn = std::move(gQueue.front());
        gQueue.pop_front();
        if (!gQueue.empty()) PostMessageW(gAppWindow, kRunQueuedMessage, 0, 0);
    }
    // An exception must not cross the system's frames: report it as an unhandled error of the
    // message loop would be, and go on.
    try {
        fn();
    } catch (const std::exception& error) {
        ShowErrorBox(error.what(), ApplicationTitle());
    }
}

// The session or the console asks the program to end: leave the loop, so that the process ends in
// order with 0, as when its last window closes. Modal windows open then close as if cancelled.
// WM_QUIT also ends the system's own modal loops (message boxes) and waits that serve messages.
void EndProgram() {
    if (gEnding) return;
    gEnding = true;
    QuitMainLoop();
    PostQuitMessage(0);
}

LRESULT CALLBACK AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kRunQueuedMessage:
        RunOneQueued();
        return 0;
    case kEndProgramMessage:
        EndProgram();
        return 0;
    case WM_QUERYENDSESSION:
        EndProgram();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) EndProgram();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs on a thread of its own that the system starts for the console event.
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    PostMessageW(gAppWindow, kEndProgramMessage, 0, 0);
    return TRUE;
}

} // namespace

bool EnsureUiInitialized() {
    static const bool initialized = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = AppWindowProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = kAppWindowClass;
        RegisterClassExW(&cls);
        // A hidden top-level window rather than a message-only one: only top-level windows are
        // told that the session ends.
        HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kAppWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, cls.hInstance, nullptr);
        // Work queued from other threads before the window existed.
        std::lock_guard lock(gQueueLock);
        gAppWindow = window;
        if (gAppWindow && !gQueue.empty()) PostMessageW(gAppWindow, kRunQueuedMessage, 0, 0);
        // From here on Ctrl-C ends modal windows and the loop in order instead of the process at once.
        if (gAppWindow) SetConsoleCtrlHandler(OnConsoleControl, TRUE);
        return gAppWindow != nullptr;
    }();
    return initialized;
}

HWND AppWindow() {
    EnsureUiInitialized();
    return gAppWindow;
}

bool EndingProgram() {
    return gEnding;
}

void WakeMessageLoop() {
    if (gAppWindow) PostMessageW(gAppWindow, WM_NULL, 0, 0);
}

void RunMainLoop() {
    if (!EnsureUiInitialized()) return;
    ++gLoopDepth;
    while (!gQuitRequested)
        if (!PumpMessage(true) && !gQuitRequested) break;
    gQuitRequested = false;
    --gLoopDepth;
}

void QuitMainLoop() {
    if (gLoopDepth == 0) return;
    gQuitRequested = true;
    WakeMessageLoop();
}

void QueueOnUiThread(std::function<void()> fn) {
    std::lock_guard lock(gQueueLock);
    gQueue.push_back(std::move(fn));
    if (gQueue.size() == 1 && gAppWindow) PostMessageW(gAppWindow, kRunQueuedMessage, 0, 0);
}

void ProcessMessages() {
    if (!EnsureUiInitialized()) return;
    while (PumpMessage(false)) {
    }
}

void SetApplicationTitle(const std::string& title) {
    gApplicationTitle = title;
}

const std::string& ApplicationTitle() {
    return gApplicationTitle;
}

} // namespace Platform
