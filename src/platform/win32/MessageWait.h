// Waiting for a child process while this thread's windows keep being served.
#pragma once

#include <windows.h>

#include "platform/Spawn.h"

namespace Platform::Win32 {

// Waits for process to end, dispatching this thread's messages meanwhile. A request to quit (WM_QUIT,
// which stays queued for the main loop, or a console's Ctrl+C or close) ends the wait early with
// Interrupted, and TerminationRequested answers true from then on. Does not close process.
TChildResult WaitPumpingMessages(HANDLE process, int& exitCode);

} // namespace Platform::Win32
