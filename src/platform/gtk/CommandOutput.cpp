// Command output on Linux: /bin/sh -c with both output streams on one pipe, or in a terminal window
// whose copy of the output comes back through a named pipe.
#include "platform/CommandOutput.h"

#include <glib.h>

#include "platform/Process.h"
#include "platform/gtk/SpawnProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace Platform {

namespace {

constexpr const char* kShell = "/bin/sh";
constexpr size_t kChunkSize = 4096;

// The script that a terminal runs: it opens the named pipe ($1), goes to the working folder ($3),
// which a terminal that starts its windows from a server of its own would not keep, says it has
// started with one byte, and runs the command ($2) with a copy of its output into the pipe. The
// window closes at the end, as a console window does.
constexpr const char* kTerminalScript = "exec 3>\"$1\" || exit 127; cd \"$3\" || exit 127; printf . >&3; "
                                        "/bin/sh -c \"$2\" 2>&1 | tee /dev/fd/3";

// How long a terminal that handed the window to a server of its own and ended may take until the
// script starts.
constexpr auto kTerminalStartLimit = std::chrono::seconds(10);

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

// Reads fd until its end, handing every piece to onOutput.
void ReadAll(int fd, const std::function<void(std::string_view)>& onOutput) {
    char buffer[kChunkSize];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        onOutput(std::string_view(buffer, static_cast<size_t>(n)));
    }
}

bool RunHidden(const std::string& commandLine, const std::string& workingDir,
               const std::function<void(std::string_view)>& onOutput) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        SetLastError(errno);
        return false;
    }
    TSpawnOptions options;
    options.WorkingDir = workingDir;
    options.Output = fds[1];
    const auto pid = SpawnProcess({kShell, "-c", commandLine}, options);
    CloseFd(fds[1]);
    if (!pid) {
        const int error = errno;
        CloseFd(fds[0]);
        SetLastError(error);
        return false;
    }
    ReadAll(fds[0], onOutput);
    CloseFd(fds[0]);
    WaitForExit(*pid);
    return true;
}

bool IsExecutableInPath(const std::string& name) {
    gchar* found = g_find_program_in_path(name.c_str());
    g_free(found);
    return found != nullptr;
}

// The terminal program to show a command in: $TERMINAL, else the system's default terminal, else
// xterm; each takes the program to run and its arguments after "-e". Empty without a display.
std::string FindTerminal() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland)) return {};
    std::vector<std::string> candidates;
    if (const char* chosen = std::getenv("TERMINAL"); chosen && *chosen) candidates.emplace_back(chosen);
    candidates.emplace_back("x-terminal-emulator");
    candidates.emplace_back("xterm");
    for (const auto& candidate : candidates)
        if (IsExecutableInPath(candidate)) return candidate;
    return {};
}

enum class TTerminalRun { Done, NotStarted, Failed };

// Runs the command in a terminal window. The output is read from a named pipe that the terminal's
// script writes a copy to; the script's first byte says it has started and is not output.
TTerminalRun RunInTerminal(const std::string& terminal, const std::string& commandLine,
                           const std::string& workingDir,
                           const std::function<void(std::string_view)>& onOutput) {
    const char* temp = std::getenv("TMPDIR");
    std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/crv-command-XXXXXX";
    if (!mkdtemp(folder.data())) return TTerminalRun::Failed;
    const std::string fifo = folder + "/output";
    int fd = -1;
    if (mkfifo(fifo.c_str(), 0600) == 0) fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const auto cleanUp = [&] {
        CloseFd(fd);
        unlink(fifo.c_str());
        rmdir(folder.c_str());
    };
    if (fd < 0) {
        cleanUp();
        return TTerminalRun::Failed;
    }
    // The terminal's own output (its complaints) goes to ours, not into the command's.
    char* absolute = realpath(workingDir.empty() ? "." : workingDir.c_str(), nullptr);
    const std::string dir = absolute ? absolute : workingDir;
    std::free(absolute);
    TSpawnOptions options;
    options.WorkingDir = workingDir;
    const auto pid =
        SpawnProcess({terminal, "-e", kShell, "-c", kTerminalScript, "sh", fifo, commandLine, dir}, options);
    if (!pid) {
        cleanUp();
        return TTerminalRun::Failed;
    }

    bool started = false, terminalEnded = false;
    int terminalStatus = 0;
    std::chrono::steady_clock::time_point endedAt;
    char buffer[kChunkSize];
    for (;;) {
        pollfd watch{fd, POLLIN, 0};
        const int ready = poll(&watch, 1, 100);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (watch.revents & POLLIN)) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) {
                std::string_view piece(buffer, static_cast<size_t>(n));
                if (!started) {
                    started = true;
                    piece.remove_prefix(1);
                }
                if (!piece.empty()) onOutput(piece);
                continue;
            }
        }
        // A hang-up is only reported once a writer has come and gone: the script has ended.
        if (ready > 0 && (watch.revents & POLLHUP)) break;
        if (!started && !terminalEnded && waitpid(*pid, &terminalStatus, WNOHANG) == *pid) {
            terminalEnded = true;
            endedAt = std::chrono::steady_clock::now();
        }
        if (!started && terminalEnded) {
            const bool failed = !WIFEXITED(terminalStatus) || WEXITSTATUS(terminalStatus) != 0;
            if (failed || std::chrono::steady_clock::now() - endedAt > kTerminalStartLimit) {
                cleanUp();
                return failed ? TTerminalRun::Failed : TTerminalRun::NotStarted;
            }
        }
    }
    cleanUp();
    // A terminal that keeps its window open after the script is not waited for beyond a moment.
    for (int i = 0; !terminalEnded && i < 20; ++i) {
        if (waitpid(*pid, &terminalStatus, WNOHANG) != 0) break;
        usleep(100 * 1000);
    }
    return TTerminalRun::Done;
}

} // namespace

bool RunCommandCapture(const std::string& commandLine, const std::string& workingDir, bool showWindow,
                       const std::function<void(std::string_view)>& onOutput) {
    // A folder that does not exist keeps the command from starting, in a window or not.
    if (!workingDir.empty()) {
        struct stat st {};
        if (stat(workingDir.c_str(), &st) != 0) {
            SetLastError(errno);
            return false;
        }
        if (!S_ISDIR(st.st_mode)) {
            SetLastError(ENOTDIR);
            return false;
        }
    }
    if (showWindow) {
        const std::string terminal = FindTerminal();
        if (!terminal.empty()) {
            switch (RunInTerminal(terminal, commandLine, workingDir, onOutput)) {
            case TTerminalRun::Done:
                return true;
            case TTerminalRun::NotStarted:
                SetLastError(ECHILD);
                return false;
            case TTerminalRun::Failed: // the terminal did not run the script: run it hidden instead
                break;
            }
        }
    }
    return RunHidden(commandLine, workingDir, onOutput);
}

} // namespace Platform
