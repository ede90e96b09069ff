// The running process: its executable, environment, exit, and the system's error texts.
#pragma once

#include <string>
#include <vector>

namespace Platform {

// Full path of the running executable; empty if it cannot be found.
std::string GetExecutablePath();
void SetEnvironmentValue(const std::string& name, const std::string& value);
void RemoveEnvironmentValue(const std::string& name);
// Ends the process at once with code.
[[noreturn]] void ExitProcess(int code);
// The calling thread's last error code.
int LastErrorCode();

} // namespace Platform
