// Waiting for a child process with a GLib child watch, turning the main context meanwhile.
#include "platform/ChildProcess.h"

#include <glib-unix.h>
#include <glib.h>

#include <csignal>
#include <memory>
#include <sys/wait.h>

namespace Platform {

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

int ExitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return status;
}

} // namespace

TChildResult RunProcessAndWait(const std::vector<std::string>& argv, int& exitCode) {
    if (argv.empty()) return TChildResult::NotStarted;
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    GPid pid = 0;
    GError* error = nullptr;
    const auto flags = static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                                G_SPAWN_CHILD_INHERITS_STDIN);
    if (!g_spawn_async(nullptr, args.data(), nullptr, flags, nullptr, nullptr, &pid, &error)) {
        g_clear_error(&error);
        return TChildResult::NotStarted;
    }

    // Shared with the watch: after an early return it stays until GLib reaps the child.
    auto wait = std::make_shared<TWait>();
    g_child_watch_add_full(G_PRIORITY_DEFAULT, pid, OnChildEnded, new std::shared_ptr<TWait>(wait),
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
