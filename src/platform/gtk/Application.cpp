// GTK start-up, the main loop and work handed to the UI thread.
#include "platform/Application.h"

#include <gtk/gtk.h>

#include <memory>

namespace Platform {

namespace {

int gLoopDepth = 0;

gboolean RunQueued(gpointer data) {
    std::unique_ptr<std::function<void()>> fn(static_cast<std::function<void()>*>(data));
    (*fn)();
    return G_SOURCE_REMOVE;
}

} // namespace

bool EnsureUiInitialized() {
    static const bool initialized = [] {
        // The program name shows in the desktop's window lists.
        return gtk_init_check(nullptr, nullptr) != FALSE;
    }();
    return initialized;
}

void RunMainLoop() {
    if (!EnsureUiInitialized()) return;
    ++gLoopDepth;
    gtk_main();
    --gLoopDepth;
}

void QuitMainLoop() {
    if (gLoopDepth > 0) gtk_main_quit();
}

void QueueOnUiThread(std::function<void()> fn) {
    // One idle source per call at the same priority runs in the order queued.
    g_idle_add_full(G_PRIORITY_DEFAULT, RunQueued, new std::function<void()>(std::move(fn)), nullptr);
}

void ProcessMessages() {
    if (!EnsureUiInitialized()) return;
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

} // namespace Platform
