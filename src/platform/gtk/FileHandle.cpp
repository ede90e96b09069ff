// Files through POSIX descriptors; interrupted calls are repeated.
#include "platform/FileHandle.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

} // namespace

TFileHandle::~TFileHandle() {
    if (IsOpen()) ::close(Fd(FHandle));
}

bool TFileHandle::IsOpen() const {
    return FHandle >= 0;
}

bool TFileHandle::OpenRead(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return false;
    }
    FHandle = fd;
    return true;
}

bool TFileHandle::Create(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return false;
    }
    FHandle = fd;
    return true;
}

bool TFileHandle::Info(std::uint64_t& size, std::int64_t& modifiedUnixTime, int& error) const {
    struct stat info {};
    if (::fstat(Fd(FHandle), &info) != 0) {
        error = errno;
        return false;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    modifiedUnixTime = static_cast<std::int64_t>(info.st_mtime);
    return true;
}

std::int64_t TFileHandle::Read(void* data, std::size_t size, int& error) {
    for (;;) {
        const ssize_t n = ::read(Fd(FHandle), data, size);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        error = errno;
        return -1;
    }
}

bool TFileHandle::WriteAll(const void* data, std::size_t size, int& error) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(Fd(FHandle), bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool TFileHandle::Close(int& error) {
    const int fd = Fd(FHandle);
    FHandle = -1;
    if (::close(fd) == 0) return true;
    error = errno;
    return false;
}

bool LocalTime(std::time_t t, std::tm& local) {
    return localtime_r(&t, &local) != nullptr;
}

} // namespace Platform
