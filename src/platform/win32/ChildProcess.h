// Starting a child process: the one way the backend starts programs with CreateProcessW.
#pragma once

#include <windows.h>

#include <string>

namespace Platform::Win32 {

struct TChildStart {
    std::wstring CommandLine;
    std::wstring WorkingDir; // empty: this process's current folder
    // The child's standard streams. The child inherits these and no other handle of this process;
    // a null handle leaves that stream unset.
    HANDLE Input = nullptr;
    HANDLE Output = nullptr;
    HANDLE Error = nullptr;
    DWORD CreationFlags = 0;
    WORD ShowWindow = SW_SHOWNORMAL;
};

// Starts the program that the command line's first word names (looked up as CreateProcessW does).
// The process handle, or null with the thread's last error set.
HANDLE StartChild(const TChildStart& start);

// This process's standard streams, for a child that shares them.
void UseOwnStandardStreams(TChildStart& start);

// The exit code of an ended process; 0 when it cannot be read.
int ExitCodeOfProcess(HANDLE process);

} // namespace Platform::Win32
