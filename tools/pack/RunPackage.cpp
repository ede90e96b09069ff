// Runs a freshly written package as a child and hands its exit code back.
#include "RunPackage.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>
#include <vector>

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Corvane::Pack {

namespace {

volatile sig_atomic_t gChild = 0;

extern "C" void PassSignalOn(int signal) {
    if (gChild > 0) ::kill(static_cast<pid_t>(gChild), signal);
}

constexpr int kForwarded[] = {SIGTERM, SIGHUP};

} // namespace

TScratchFolder::TScratchFolder(const std::string& tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / (tag + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(),
                                "Cannot make a temporary folder in \"" +
                                    std::filesystem::temp_directory_path().string() + "\"");
    FPath = pattern;
}

TScratchFolder::~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

int RunAndWait(const std::string& program) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, signal);
    // The program gets the usual handling of these signals, whatever crv-pack does with them.
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
    pid_t child = 0;
    const int error = ::posix_spawn(&child, program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        throw std::system_error(error, std::generic_category(), "Cannot start \"" + program + "\"");

    gChild = child;
    std::signal(SIGINT, SIG_IGN);
    for (int signal : kForwarded)
        std::signal(signal, PassSignalOn);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    gChild = 0;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, SIG_DFL);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

} // namespace Corvane::Pack
