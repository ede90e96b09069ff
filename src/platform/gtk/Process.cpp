// The running process on Linux.
#include "platform/Process.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace Platform {

std::string GetExecutablePath() {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<size_t>(n) >= path.size()) return {};
    path.resize(static_cast<size_t>(n));
    return path;
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

} // namespace Platform
