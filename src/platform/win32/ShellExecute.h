// ShellExecuteW with the verb open, for the shell, file-manager and editor requests.
#pragma once

#include <string>

namespace Platform::Win32 {

// Opens file with the parameters, owned by the thread's active window, shown normally. False when the
// shell refused; the thread's last error then tells why.
bool ShellExecuteOpen(const std::wstring& file, const std::wstring& parameters);

} // namespace Platform::Win32
