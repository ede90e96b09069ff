// Well-known folders on Windows: the shell folders of the user, and the temporary folder.
#include "platform/Folders.h"

#include <shlobj.h>

#include "platform/win32/ShellFolder.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace Win32 {

std::string ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "\\";
    return WithBackslash(Narrow(path));
}

} // namespace Win32

std::string GetLocalAppDataDir() {
    return Win32::ShellFolder(CSIDL_LOCAL_APPDATA);
}
std::string GetRoamingAppDataDir() {
    return Win32::ShellFolder(CSIDL_APPDATA);
}
std::string GetDocumentsDir() {
    return Win32::ShellFolder(CSIDL_PERSONAL);
}
std::string GetDesktopDir() {
    return Win32::ShellFolder(CSIDL_DESKTOP);
}

std::string GetTempDir() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH) return "\\";
    // The variable may name the folder by its short 8.3 form.
    std::wstring longPath(32768, L'\0');
    const DWORD longLength = GetLongPathNameW(path, longPath.data(), static_cast<DWORD>(longPath.size()));
    if (longLength > 0 && longLength < longPath.size()) {
        longPath.resize(longLength);
        return Win32::WithBackslash(Win32::Narrow(longPath));
    }
    return Win32::WithBackslash(Win32::Narrow(path));
}

} // namespace Platform
