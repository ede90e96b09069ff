// Waiting for a child process with the message loop turning.
#include "platform/win32/MessageWait.h"

namespace Platform {

namespace {

bool gTerminationRequested = false;
HANDLE gTerminateEvent = nullptr; // set from the console's control thread

BOOL WINAPI OnConsoleControl(DWORD) {
    SetEvent(gTerminateEvent);
    // Handled, so the process is not ended at once: the wait ends and the caller winds down.
    return TRUE;
}

} // namespace

TChildResult Win32::WaitPumpingMessages(HANDLE process, int& exitCode) {
    if (!gTerminateEvent) gTerminateEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const HANDLE handles[2] = {process, gTerminateEvent};
    TChildResult result = TChildResult::Interrupted;
    bool waiting = true;
    while (waiting) {
        // Wakes for the child's end, a termination request or any message for this thread's windows.
        const DWORD woken = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process, &code);
            exitCode = static_cast<int>(code);
            result = TChildResult::Exited;
            break;
        }
        if (woken != WAIT_OBJECT_0 + 2) break; // a termination request, or the wait itself failed
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Left for the main loop, which ends on it.
                PostQuitMessage(static_cast<int>(message.wParam));
                waiting = false;
                break;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    if (result == TChildResult::Interrupted) gTerminationRequested = true;
    return result;
}

bool TerminationRequested() {
    return gTerminationRequested;
}

} // namespace Platform
