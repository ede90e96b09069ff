// The running process on Linux.
#include "platform/Process.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace Platform {

std::string GetExecutablePath() {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<size_t>(n) >= path.size()) return {};
    path.resize(static_cast<size_t>(n));
    return path;
}

std::string GetExecutableDir() {
    std::string path = GetExecutablePath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
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

std::string SystemErrorText(int code) {
    char buffer[512];
    // The GNU strerror_r returns the text, which may not be in buffer.
    return strerror_r(code, buffer, sizeof buffer);
}

int LastErrorCode() {
    return errno;
}

} // namespace Platform
