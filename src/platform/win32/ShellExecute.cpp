// Opening files, programs and addresses through the shell.
#include "platform/win32/ShellExecute.h"

#include <windows.h>

#include <shellapi.h>

namespace Platform::Win32 {

namespace {

// The shell's own failure numbers, for when it leaves no last error behind.
DWORD ErrorOfShellResult(INT_PTR result) {
    switch (result) {
    case SE_ERR_FNF:
        return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
        return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
        return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM:
    case 0:
        return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
        return ERROR_NO_ASSOCIATION;
    case SE_ERR_SHARE:
        return ERROR_SHARING_VIOLATION;
    case ERROR_BAD_FORMAT:
        return ERROR_BAD_FORMAT;
    default:
        return ERROR_GEN_FAILURE;
    }
}

} // namespace

bool ShellExecuteOpen(const std::wstring& file, const std::wstring& parameters) {
    SetLastError(0);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetActiveWindow(), L"open", file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
    if (GetLastError() == 0) SetLastError(ErrorOfShellResult(result));
    return false;
}

} // namespace Platform::Win32
