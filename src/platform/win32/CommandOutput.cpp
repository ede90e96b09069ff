// Command output on Windows: cmd.exe /C with standard output and error on one pipe.
#include "platform/CommandOutput.h"

#include "platform/win32/ChildProcess.h"
#include "platform/win32/Wide.h"

namespace Platform {

bool RunCommandCapture(const std::string& commandLine, const std::string& workingDir, bool showWindow,
                       const std::function<void(std::string_view)>& onOutput) {
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return false;

    Win32::TChildStart start;
    // The command goes to the interpreter as written: its quoting is the interpreter's business.
    start.CommandLine = L"cmd.exe /C " + Win32::Widen(commandLine);
    start.WorkingDir = Win32::Widen(workingDir);
    start.Input = GetStdHandle(STD_INPUT_HANDLE);
    start.Output = writeEnd;
    start.Error = writeEnd;
    // A hidden command still gets a console of its own, without a window, which the programs it
    // starts share; a shown one gets a console window even when this process has one already.
    start.ShowWindow = showWindow ? SW_SHOWNORMAL : SW_HIDE;
    start.CreationFlags = showWindow ? CREATE_NEW_CONSOLE : CREATE_NO_WINDOW;
    HANDLE process = Win32::StartChild(start);
    const DWORD error = GetLastError();
    // Only the child's copies may keep the pipe open, or the read below would never end.
    CloseHandle(writeEnd);
    if (!process) {
        CloseHandle(readEnd);
        SetLastError(error);
        return false;
    }

    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
        onOutput(std::string_view(buffer, read));
    CloseHandle(readEnd);
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
    return true;
}

} // namespace Platform
