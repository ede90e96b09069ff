// Ending the session or the system on Windows: ExitWindowsEx with the shutdown privilege.
#include "platform/Session.h"

#include "platform/Process.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace {

// Failures are left to ExitWindowsEx, which reports the missing privilege itself.
void EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

} // namespace

bool EndSession(TSessionEnd what) {
    // Tests set CRV_TEST_REFUSE_POWER=1 to see a refusal without ending the machine they run on. Read
    // from the system's environment, which SetEnvironmentValue changes, not the C library's copy.
    wchar_t refuse[2] = {};
    if (GetEnvironmentVariableW(L"CRV_TEST_REFUSE_POWER", refuse, 2) == 1 && refuse[0] == L'1') {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    UINT flags = EWX_LOGOFF;
    if (what == TSessionEnd::Reboot) flags = EWX_REBOOT;
    if (what == TSessionEnd::Shutdown) flags = EWX_SHUTDOWN;
    EnableShutdownPrivilege();
    // Forced: other programs are not asked whether they agree.
    return ExitWindowsEx(flags | EWX_FORCE, 0);
}

} // namespace Platform
