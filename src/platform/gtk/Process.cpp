// The running process on Linux.
#include "platform/Process.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace Platform {

namespace {

// A message that came with the last error. It is only believed while errno still holds its code,
// so it cannot be handed out for a later, unrelated failure.
struct TErrorText {
    int code = 0;
    std::string message;
};
thread_local TErrorText lastErrorText;

// strerror_r comes in a GNU form (returns the text) and a POSIX form (fills the buffer).
[[maybe_unused]] const char* StrErrorResult(const char* text, const char*) {
    return text;
}
[[maybe_unused]] const char* StrErrorResult(int failed, const char* buffer) {
    return failed == 0 ? buffer : nullptr;
}

} // namespace

std::string GetExecutablePath() {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<size_t>(n) >= path.size()) return {};
    path.resize(static_cast<size_t>(n));
    return path;
}

std::string GetExecutableFolder() {
    const std::string path = GetExecutablePath();
    return path.substr(0, path.rfind('/') + 1);
}

std::string GetEnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

void SetEnvironmentValue(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
}

void RemoveEnvironmentValue(const std::string& name) {
    unsetenv(name.c_str());
}

void ExitProcess(int code) {
    std::fflush(nullptr);
    _exit(code);
}

int LastErrorCode() {
    return errno;
}

void SetLastError(int code, const std::string& message) {
    lastErrorText.code = code;
    lastErrorText.message = message;
    errno = code;
}

std::string SysErrorMessage(int code) {
    const int saved = errno;
    std::string text;
    if (code == saved && code == lastErrorText.code && !lastErrorText.message.empty()) {
        text = lastErrorText.message;
    } else {
        char buffer[256] = {};
        const char* system = StrErrorResult(strerror_r(code, buffer, sizeof buffer), buffer);
        text = system ? system : "Unknown error " + std::to_string(code);
    }
    errno = saved;
    return text;
}

} // namespace Platform
