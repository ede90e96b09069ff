// Starting programs with CreateProcessW, with no shell between, and waiting for them with or
// without the message loop turning.
#include "platform/Spawn.h"

#include <windows.h>

#include "platform/win32/ChildProcess.h"
#include "platform/win32/CommandLine.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace {

bool gTerminationRequested = false;
HANDLE gTerminateEvent = nullptr; // set from the console's control thread

BOOL WINAPI OnConsoleControl(DWORD) {
    SetEvent(gTerminateEvent);
    // Handled, so the process is not ended at once: the wait ends and the caller winds down.
    return TRUE;
}

HANDLE Start(const std::vector<std::string>& args, Win32::TChildStart& start) {
    if (args.empty() || args[0].empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    start.CommandLine = Win32::JoinArguments(args);
    return Win32::StartChild(start);
}

int WaitAndClose(HANDLE process) {
    WaitForSingleObject(process, INFINITE);
    const int code = Win32::ExitCodeOfProcess(process);
    CloseHandle(process);
    return code;
}

} // namespace

std::optional<int> RunHiddenAndWait(const std::vector<std::string>& args) {
    SECURITY_ATTRIBUTES none{sizeof none, nullptr, FALSE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &none,
                             OPEN_EXISTING, 0, nullptr);
    Win32::TChildStart start;
    start.Input = start.Output = start.Error = nul;
    start.ShowWindow = SW_HIDE;
    start.CreationFlags = CREATE_NO_WINDOW;
    HANDLE process = Start(args, start);
    const DWORD error = GetLastError();
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!process) {
        SetLastError(error);
        return std::nullopt;
    }
    return WaitAndClose(process);
}

bool StartInNewProcessGroup(const std::vector<std::string>& args, bool wait) {
    Win32::TChildStart start;
    Win32::UseOwnStandardStreams(start);
    start.CreationFlags = CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS;
    HANDLE process = Start(args, start);
    if (!process) return false;
    if (wait)
        WaitAndClose(process);
    else
        CloseHandle(process);
    return true;
}

TChildResult RunProcessAndWait(const std::vector<std::string>& argv, int& exitCode) {
    Win32::TChildStart start;
    Win32::UseOwnStandardStreams(start);
    HANDLE process = Start(argv, start);
    if (!process) return TChildResult::NotStarted;

    if (!gTerminateEvent) gTerminateEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const HANDLE handles[2] = {process, gTerminateEvent};
    TChildResult result = TChildResult::Interrupted;
    bool waiting = true;
    while (waiting) {
        // Wakes for the child's end, a termination request or any message for this thread's windows.
        const DWORD woken = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            exitCode = Win32::ExitCodeOfProcess(process);
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
    CloseHandle(process);
    if (result == TChildResult::Interrupted) gTerminationRequested = true;
    return result;
}

bool TerminationRequested() {
    return gTerminationRequested;
}

} // namespace Platform
