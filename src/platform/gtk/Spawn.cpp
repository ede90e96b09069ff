// Starting programs with posix_spawn, with no shell between and failures of the start reported,
// and waiting for them with or without the main loop turning.
#include "platform/Spawn.h"

#include <fcntl.h>
#include <glib-unix.h>
#include <glib.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <memory>
#include <thread>

#include "platform/gtk/SpawnProcess.h"

extern char** environ;

namespace Platform {

std::optional<pid_t> SpawnProcess(const std::vector<std::string>& args, const TSpawnOptions& options) {
    if (args.empty() || args[0].empty()) {
        errno = ENOENT;
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    if (options.NullStreams) {
        for (int fd = 0; fd <= 2; ++fd)
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    } else if (options.Output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, options.Output, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, options.Output, STDERR_FILENO);
    }
    if (!options.WorkingDir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.WorkingDir.c_str());
    // Files this process opened without close-on-exec stay with it.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    // The program starts with the default signal handling and mask, whatever this process changed,
    // so a pipeline in a command ends as it would from a terminal.
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
    if (options.NewProcessGroup) {
        posix_spawnattr_setpgroup(&attributes, 0);
        flags |= POSIX_SPAWN_SETPGROUP;
    }
    posix_spawnattr_setflags(&attributes, flags);

    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        errno = failed;
        return std::nullopt;
    }
    return pid;
}

int ExitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return 0;
    }
    return ExitCodeOf(status);
}

std::optional<int> RunHiddenAndWait(const std::vector<std::string>& args) {
    TSpawnOptions options;
    options.NullStreams = true;
    const auto pid = SpawnProcess(args, options);
    if (!pid) return std::nullopt;
    return WaitForExit(*pid);
}

bool StartInNewProcessGroup(const std::vector<std::string>& args, bool wait) {
    TSpawnOptions options;
    options.NewProcessGroup = true;
    const auto pid = SpawnProcess(args, options);
    if (!pid) return false;
    if (wait) {
        WaitForExit(*pid);
    } else {
        // Someone has to collect its exit status, or it stays behind as a zombie.
        std::thread([child = *pid] { WaitForExit(child); }).detach();
    }
    return true;
}

namespace {

bool gTerminationRequested = false;

struct TWait {
    bool Ended = false;
    bool Interrupted = false;
    int Status = 0;
};

void OnChildEnded(GPid pid, gint status, gpointer data) {
    auto& wait = *static_cast<std::shared_ptr<TWait>*>(data);
    wait->Ended = true;
    wait->Status = status;
    g_spawn_close_pid(pid);
}

gboolean OnTerminate(gpointer data) {
    static_cast<TWait*>(data)->Interrupted = true;
    gTerminationRequested = true;
    return G_SOURCE_CONTINUE;
}

} // namespace

TChildResult RunProcessAndWait(const std::vector<std::string>& argv, int& exitCode) {
    const auto pid = SpawnProcess(argv);
    if (!pid) return TChildResult::NotStarted;

    // Shared with the watch: after an early return it stays until GLib reaps the child.
    auto wait = std::make_shared<TWait>();
    g_child_watch_add_full(G_PRIORITY_DEFAULT, *pid, OnChildEnded, new std::shared_ptr<TWait>(wait),
                           [](gpointer data) { delete static_cast<std::shared_ptr<TWait>*>(data); });
    // Once these go, GLib restores the default actions, so a second request ends the process.
    const guint term = g_unix_signal_add(SIGTERM, OnTerminate, wait.get());
    const guint interrupt = g_unix_signal_add(SIGINT, OnTerminate, wait.get());

    // Blocks until some source is ready: the child's end, a signal, a window event or a timer.
    while (!wait->Ended && !wait->Interrupted)
        g_main_context_iteration(nullptr, TRUE);

    g_source_remove(term);
    g_source_remove(interrupt);
    if (!wait->Ended) return TChildResult::Interrupted;
    exitCode = ExitCodeOf(wait->Status);
    return TChildResult::Exited;
}

bool TerminationRequested() {
    return gTerminationRequested;
}

} // namespace Platform
