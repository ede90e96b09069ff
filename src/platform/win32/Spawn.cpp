// Starting programs with CreateProcessW, with no shell between, and waiting for them with or
// without the message loop turning.
#include "platform/Spawn.h"

#include <windows.h>

#include "platform/win32/ChildProcess.h"
#include "platform/win32/CommandLine.h"
#include "platform/win32/MessageWait.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace {

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

    const TChildResult result = Win32::WaitPumpingMessages(process, exitCode);
    CloseHandle(process);
    return result;
}

} // namespace Platform
