// Ending another process: a process descriptor where the kernel has them, else polling its state.
#include "platform/ProcessEnd.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

namespace {

using TClock = std::chrono::steady_clock;

int RemainingMs(TClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Gone, or ended and waiting for its parent to collect it.
bool HasEnded(pid_t pid) {
    if (kill(pid, 0) != 0) return errno == ESRCH;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() &&
           (line[close + 2] == 'Z' || line[close + 2] == 'X');
}

// A process descriptor stays with its process even if the id is reused meanwhile. False when the
// system has no process descriptors.
bool EndThroughDescriptor(pid_t pid, TClock::time_point deadline) {
#if defined(SYS_pidfd_open) && defined(SYS_pidfd_send_signal)
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) return errno == ESRCH; // already gone
    pollfd ended{fd, POLLIN, 0};
    int ready;
    do {
        ready = poll(&ended, 1, RemainingMs(deadline));
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) syscall(SYS_pidfd_send_signal, fd, SIGKILL, nullptr, 0);
    close(fd);
    return true;
#else
    (void)pid;
    (void)deadline;
    return false;
#endif
}

} // namespace

void WaitOrKillProcess(std::uint32_t processId, int timeoutMs) {
    // Larger ids would turn negative and name a process group.
    if (processId == 0 || processId > static_cast<std::uint32_t>(INT_MAX)) return;
    const auto pid = static_cast<pid_t>(processId);
    if (pid == getpid()) return;
    const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
    if (EndThroughDescriptor(pid, deadline)) return;
    // Kernels without process descriptors: look every few milliseconds.
    while (!HasEnded(pid)) {
        if (RemainingMs(deadline) == 0) {
            kill(pid, SIGKILL);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace Platform
