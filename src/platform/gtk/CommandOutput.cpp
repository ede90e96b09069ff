// Command output on Linux: /bin/sh -c with both output streams on one pipe, or in a terminal window
// whose copy of the output comes back through a named pipe.
#include "platform/CommandOutput.h"

#include <glib.h>

#include "platform/Process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace Platform {

namespace {

constexpr const char* kShell = "/bin/sh";
constexpr size_t kChunkSize = 4096;
constexpr const char* kReplacement = "\xEF\xBF\xBD";

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

int WaitChild(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Spawns argv with the current folder workingDir; output, when not negative, becomes both standard
// output and standard error. The child gets default signal handling and no blocked signals, so a
// pipeline in the command ends as it would from a terminal.
std::optional<pid_t> Spawn(const std::vector<std::string>& argv, const std::string& workingDir, int output) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    if (output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
    }
    if (!workingDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        SetLastError(error);
        return std::nullopt;
    }
    return pid;
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
    const auto pid = Spawn({kShell, "-c", commandLine}, workingDir, fds[1]);
    CloseFd(fds[1]);
    if (!pid) {
        const int error = errno;
        CloseFd(fds[0]);
        SetLastError(error);
        return false;
    }
    ReadAll(fds[0], onOutput);
    CloseFd(fds[0]);
    WaitChild(*pid);
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
    const auto pid =
        Spawn({terminal, "-e", kShell, "-c", kTerminalScript, "sh", fifo, commandLine, dir}, workingDir, -1);
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

TLocaleTextDecoder::TLocaleTextDecoder() {
    const char* codeset = nl_langinfo(CODESET);
    std::string charset = codeset && *codeset ? codeset : "UTF-8";
    if (charset == "ANSI_X3.4-1968" || charset == "ASCII") charset = "UTF-8";
    FConverter = iconv_open("UTF-8", charset.c_str());
}

TLocaleTextDecoder::~TLocaleTextDecoder() {
    if (FConverter != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(FConverter));
}

std::string TLocaleTextDecoder::Decode(std::string_view bytes) {
    if (FConverter == reinterpret_cast<void*>(-1)) return std::string(bytes);
    std::string input = std::move(FPending);
    FPending.clear();
    input.append(bytes);

    std::string out;
    char buffer[kChunkSize];
    char* in = input.data();
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(static_cast<iconv_t>(FConverter), &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1) || error == E2BIG) continue;
        if (error == EINVAL) { // a character that the next piece finishes
            FPending.assign(in, inLeft);
            break;
        }
        out += kReplacement;
        ++in;
        --inLeft;
    }
    return out;
}

std::string TLocaleTextDecoder::Finish() {
    std::string out;
    if (!FPending.empty()) out = kReplacement;
    FPending.clear();
    if (FConverter != reinterpret_cast<void*>(-1)) {
        // Returns to the initial shift state, writing what a stateful character set needs for that.
        char buffer[64];
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        iconv(static_cast<iconv_t>(FConverter), nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
    }
    return out;
}

} // namespace Platform
