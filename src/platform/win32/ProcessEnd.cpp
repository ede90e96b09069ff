// Ending another process: wait on its handle, then terminate it.
#include "platform/ProcessEnd.h"

#include <windows.h>

namespace Platform {

void WaitOrKillProcess(std::uint32_t processId, int timeoutMs) {
    if (processId == 0 || processId == GetCurrentProcessId()) return;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    if (!process) return;
    if (WaitForSingleObject(process, static_cast<DWORD>(timeoutMs)) == WAIT_TIMEOUT)
        TerminateProcess(process, 1);
    CloseHandle(process);
}

} // namespace Platform
