// Administrator rights on Windows: the shell's "runas" verb, which shows the system's consent prompt.
#include "platform/Elevation.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/CommandLine.h"
#include "platform/win32/MessageWait.h"
#include "platform/win32/Wide.h"

namespace Platform {

TChildResult RunElevatedAndWait(const std::string& file, const std::vector<std::string>& args,
                                int& exitCode) {
    const std::wstring wideFile = Win32::Widen(file);
    const std::wstring parameters = Win32::JoinArguments(args);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The process handle is wanted; the call returns only once the start is done, and a failure
    // shows no message of the shell's own.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = GetActiveWindow();
    info.lpVerb = L"runas";
    info.lpFile = wideFile.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_HIDE;
    // Declining the prompt fails here too, with ERROR_CANCELLED.
    if (!ShellExecuteExW(&info)) return TChildResult::NotStarted;
    if (!info.hProcess) { // handed to a program that was already running: nothing to wait for
        exitCode = 0;
        return TChildResult::Exited;
    }
    const TChildResult result = Win32::WaitPumpingMessages(info.hProcess, exitCode);
    CloseHandle(info.hProcess);
    return result;
}

} // namespace Platform
