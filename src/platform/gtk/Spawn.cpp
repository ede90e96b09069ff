// Starting programs with posix_spawn: no shell between, failures of the start itself reported.
#include "platform/Spawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

extern char** environ;

namespace Platform {

namespace {

class TSpawnSetup {
public:
    TSpawnSetup() {
        posix_spawn_file_actions_init(&Actions);
        posix_spawnattr_init(&Attributes);
    }
    ~TSpawnSetup() {
        posix_spawn_file_actions_destroy(&Actions);
        posix_spawnattr_destroy(&Attributes);
    }
    TSpawnSetup(const TSpawnSetup&) = delete;
    TSpawnSetup& operator=(const TSpawnSetup&) = delete;

    void AddFlags(short added) {
        short flags = 0;
        posix_spawnattr_getflags(&Attributes, &flags);
        posix_spawnattr_setflags(&Attributes, static_cast<short>(flags | added));
    }

    posix_spawn_file_actions_t Actions;
    posix_spawnattr_t Attributes;
};

std::optional<pid_t> Spawn(const std::vector<std::string>& args, TSpawnSetup& setup) {
    if (args.empty() || args[0].empty()) {
        errno = ENOENT;
        return std::nullopt;
    }
    // Files this process opened without close-on-exec stay with it.
    posix_spawn_file_actions_addclosefrom_np(&setup.Actions, 3);
    // The program starts with the default signal handling and mask, whatever this process changed.
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&setup.Attributes, &all);
    posix_spawnattr_setsigmask(&setup.Attributes, &none);
    setup.AddFlags(POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &setup.Actions, &setup.Attributes, argv.data(), environ);
    if (failed != 0) {
        errno = failed;
        return std::nullopt;
    }
    return pid;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return 0;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}

} // namespace

std::optional<int> RunHiddenAndWait(const std::vector<std::string>& args) {
    TSpawnSetup setup;
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&setup.Actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    const auto pid = Spawn(args, setup);
    if (!pid) return std::nullopt;
    return WaitForExit(*pid);
}

bool StartInNewProcessGroup(const std::vector<std::string>& args, bool wait) {
    TSpawnSetup setup;
    posix_spawnattr_setpgroup(&setup.Attributes, 0);
    setup.AddFlags(POSIX_SPAWN_SETPGROUP);
    const auto pid = Spawn(args, setup);
    if (!pid) return false;
    if (wait) {
        WaitForExit(*pid);
    } else {
        // Someone has to collect its exit status, or it stays behind as a zombie.
        std::thread([child = *pid] { WaitForExit(child); }).detach();
    }
    return true;
}

} // namespace Platform
