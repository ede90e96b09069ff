// File operations on Linux.
#include "platform/Files.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace Platform {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool Fail(int& error) {
    error = errno != 0 ? errno : EIO;
    return false;
}

bool WriteInPlace(const std::string& path, std::string_view bytes, int& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Fail(error);
    const bool written = WriteAll(fd, bytes);
    const int writeError = errno;
    if (close(fd) != 0 || !written) {
        errno = written ? errno : writeError;
        return Fail(error);
    }
    error = 0;
    return true;
}

std::string TempNameBeside(const std::string& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".crv-%012llx", static_cast<unsigned long long>(random() >> 16));
    return path + suffix;
}

} // namespace

bool MoveFileNoReplace(const std::string& from, const std::string& to, int& error) {
    // A hard link fails with EEXIST instead of replacing, which rename would do.
    if (link(from.c_str(), to.c_str()) != 0) {
        error = errno;
        return false;
    }
    unlink(from.c_str());
    error = 0;
    return true;
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes, int& error) {
    std::string target = path;
    if (char* real = realpath(path.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    // Devices, pipes and links that lead nowhere are written as they are.
    struct stat link {};
    const bool dangling = !exists && lstat(target.c_str(), &link) == 0;
    if ((exists && !S_ISREG(old.st_mode)) || dangling) return WriteInPlace(path, bytes, error);

    const std::string temp = TempNameBeside(target);
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    // A folder we may not add to can still hold a file we may write.
    if (fd < 0) return WriteInPlace(path, bytes, error);
    if (exists) {
        fchmod(fd, old.st_mode & 07777);
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only a privileged writer can keep another owner; the content matters more.
        }
    }
    bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    int failure = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        error = failure != 0 ? failure : EIO;
        return false;
    }
    error = 0;
    return true;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
    std::error_code error;
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error) &&
           !error;
}

} // namespace Platform
