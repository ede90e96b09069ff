// Temporary files for crv-pack's outputs, committed by rename and cleaned up on failure or signal.
#include "OutputFile.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Corvane::Pack {

namespace {

// Fixed slots that a signal handler can read without allocating.
struct TSlot {
    std::array<char, PATH_MAX> Path{};
    std::atomic<bool> Used{false};
};
std::array<TSlot, 8> gSlots;

int Register(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (std::size_t i = 0; i < gSlots.size(); ++i) {
        if (gSlots[i].Used.load()) continue;
        std::memcpy(gSlots[i].Path.data(), path.c_str(), path.size() + 1);
        gSlots[i].Used.store(true);
        return static_cast<int>(i);
    }
    return -1;
}

void Unregister(int slot) {
    if (slot >= 0) gSlots[static_cast<std::size_t>(slot)].Used.store(false);
}

extern "C" void RemoveTempFilesAndDie(int signal) {
    for (TSlot& slot : gSlots)
        if (slot.Used.load()) ::unlink(slot.Path.data());
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path) {
    throw std::system_error(errno, std::generic_category(), what + " \"" + path + "\"");
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void InstallInterruptCleanup() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, RemoveTempFilesAndDie);
}

TTempFile::TTempFile(const std::string& target, const std::string& tag) {
    const std::string folder = FolderOf(target);
    std::string pattern = (folder == "/" ? "" : folder) + "/." + BaseName(target) + "." + tag + "-XXXXXX";
    // Block the cleanup signals while the file exists but is not yet registered.
    sigset_t block, previous;
    sigemptyset(&block);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&block, signal);
    ::sigprocmask(SIG_BLOCK, &block, &previous);
    const int fd = ::mkstemp(pattern.data());
    const int error = errno;
    if (fd >= 0) {
        FPath = pattern;
        FSlot = Register(FPath);
        ::close(fd);
    }
    ::sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (fd < 0) {
        errno = error;
        ThrowFileError("Cannot write to the folder", folder);
    }
}

TTempFile::~TTempFile() {
    if (!FPath.empty()) ::unlink(FPath.c_str());
    Unregister(FSlot);
}

void TTempFile::CommitTo(const std::string& target, unsigned mode) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const int fd = ::open(FPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) ThrowFileError("Cannot write", FPath);
    const bool ok = ::fchmod(fd, static_cast<mode_t>(mode) & ~mask) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok) {
        errno = error;
        ThrowFileError("Cannot write", FPath);
    }
    if (::rename(FPath.c_str(), target.c_str()) != 0) ThrowFileError("Cannot replace", target);
    Unregister(FSlot);
    FSlot = -1;
    FPath.clear();
}

void CopyFileContent(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) ThrowFileError("Cannot open", from);
    const int out = ::open(to.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        errno = error;
        ThrowFileError("Cannot write", to);
    }
    struct TClose {
        int A, B;
        ~TClose() {
            ::close(A);
            ::close(B);
        }
    } closer{in, out};
    std::vector<char> block(256 * 1024);
    for (;;) {
        const ssize_t n = ::read(in, block.data(), block.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowFileError("Cannot read", from);
        }
        if (n == 0) break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, block.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                ThrowFileError("Cannot write", to);
            }
            done += w;
        }
    }
}

} // namespace Corvane::Pack
