// Starting programs and opening documents through the Windows shell.
#include "platform/Shell.h"

#include "platform/win32/CommandLine.h"
#include "platform/win32/ShellExecute.h"
#include "platform/win32/Wide.h"

namespace Platform {

bool ShellOpen(const std::string& file, const std::vector<std::string>& args) {
    // The shell itself decides between starting a program and opening a document.
    return Win32::ShellExecuteOpen(Win32::Widen(file), Win32::JoinArguments(args));
}

} // namespace Platform
