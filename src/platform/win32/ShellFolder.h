// The shell's folders by CSIDL number, shared by the folder, program and editor lookups.
#pragma once

#include <string>

namespace Platform::Win32 {

// The folder's current path with a trailing backslash; just the backslash when the shell cannot
// give it.
std::string ShellFolder(int csidl);

} // namespace Platform::Win32
