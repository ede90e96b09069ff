// The per-user named lock: an abstract Unix socket. The kernel frees the name when the process
// ends, however it ends, so a crash never leaves a stale lock behind.
#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Platform {

namespace {

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

} // namespace

TLockResult CreateNamedLock(const std::string& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // Abstract names start with a zero byte; the user id keeps users apart.
    std::string abstractName = "crv-instance/" + std::to_string(getuid()) + "/";
    const size_t room = sizeof(address.sun_path) - 1 - abstractName.size();
    if (name.size() <= room && name.find('\0') == std::string::npos) {
        abstractName += name;
    } else {
        char hash[24];
        std::snprintf(hash, sizeof hash, "#%016llx", static_cast<unsigned long long>(Fnv1a(name)));
        abstractName += hash;
    }
    std::memcpy(address.sun_path + 1, abstractName.data(), abstractName.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size());

    // Close-on-exec: programs this process starts must not keep the lock alive.
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return TLockResult::Failed;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) return TLockResult::Acquired;
    const int error = errno;
    close(fd);
    return error == EADDRINUSE ? TLockResult::AlreadyExists : TLockResult::Failed;
}

} // namespace Platform
