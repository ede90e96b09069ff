// Machine and user facts on Windows, and where programs live there.
#include "platform/SystemInfo.h"

#include <lmcons.h>
#include <shlobj.h>

#include "platform/win32/ShellFolder.h"
#include "platform/win32/Wide.h"

namespace Platform {

std::string ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size)) return {};
    return Win32::Narrow(std::wstring_view(name, size));
}

std::string UserName() {
    wchar_t name[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(name, &size)) return {};
    return Win32::Narrow(name);
}

std::string ProgramsDir() {
    return Win32::ShellFolder(CSIDL_PROGRAM_FILES);
}

std::string SystemAppsDir() {
    return Win32::ShellFolder(CSIDL_WINDOWS) + "SystemApps\\";
}

} // namespace Platform
