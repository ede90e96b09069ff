// The running process: its executable, environment, exit, and the system's error texts.
#pragma once

#include <string>
#include <vector>

namespace Platform {

// Full path of the running executable; empty if it cannot be found.
std::string GetExecutablePath();
// The folder of the running executable, with a trailing path separator; empty if it cannot be found.
std::string GetExecutableFolder();
// The value of an environment variable; empty when it is not set.
std::string GetEnvironmentValue(const std::string& name);
void SetEnvironmentValue(const std::string& name, const std::string& value);
void RemoveEnvironmentValue(const std::string& name);
// Ends the process at once with code.
[[noreturn]] void ExitProcess(int code);
// The calling thread's last error code.
int LastErrorCode();
// Sets the calling thread's last error code and, optionally, the text that SysErrorMessage gives
// for it: a refusal that came with its own message (a D-Bus error, say) keeps that message.
void SetLastError(int code, const std::string& message = {});
// The system's message text for an error code: the text that SetLastError left with it on this
// thread while that code is still the last error, else the system's own text for the code. Leaves
// the last error code as it was.
std::string SysErrorMessage(int code);

} // namespace Platform
