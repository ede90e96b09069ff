// Showing a file in Explorer.
#include "platform/FileManager.h"

#include "platform/win32/ShellExecute.h"
#include "platform/win32/Wide.h"

namespace Platform {

bool ShowInFileManager(const std::string& path) {
    const std::wstring wide = Win32::Widen(path);
    if (Win32::ShellExecuteOpen(L"explorer.exe", L"/select, \"" + wide + L"\"")) return true;
    const size_t separator = wide.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return false;
    return Win32::ShellExecuteOpen(wide.substr(0, separator + 1), L"");
}

} // namespace Platform
