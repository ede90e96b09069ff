// The picture editor on Windows: Paint, from the system folder.
#include "platform/ImageEditor.h"

#include <shlobj.h>

#include "platform/win32/ShellExecute.h"
#include "platform/win32/ShellFolder.h"
#include "platform/win32/Wide.h"

namespace Platform {

bool OpenInImageEditor(const std::string& file) {
    const std::wstring paint = Win32::Widen(Win32::ShellFolder(CSIDL_SYSTEM) + "mspaint.exe");
    if (GetFileAttributesW(paint.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return Win32::ShellExecuteOpen(paint, L"\"" + Win32::Widen(file) + L"\"");
}

} // namespace Platform
