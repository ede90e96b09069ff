// GTK start-up, the main loop and work handed to the UI thread.
#include "platform/Application.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/gtk/ModalDialogs.h"

namespace Platform {

namespace {

int gLoopDepth = 0;
std::string gApplicationTitle;
bool gEnding = false;
std::vector<GtkDialog*> gModalDialogs;

gboolean RunQueued(gpointer data) {
    std::unique_ptr<std::function<void()>> fn(static_cast<std::function<void()>*>(data));
    // An exception must not cross the toolkit's C frames: report it as an unhandled error of the
    // message loop would be, and go on.
    try {
        (*fn)();
    } catch (const std::exception& error) {
        ShowErrorBox(error.what(), ApplicationTitle());
    }
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

// The session or a service manager asks the program to end: leave the loop, so that the process ends
// in order with 0, as when its last window closes.
// A dialog open at that moment would hold the process until someone answers it, so it closes.
static gboolean QuitOnSignal(gpointer) {
    gEnding = true;
    for (GtkDialog* dialog : std::vector<GtkDialog*>(gModalDialogs))
        gtk_dialog_response(dialog, GTK_RESPONSE_DELETE_EVENT);
    QuitMainLoop();
    return G_SOURCE_CONTINUE;
}

int RunModalDialog(GtkDialog* dialog) {
    if (gEnding) return GTK_RESPONSE_DELETE_EVENT;
    gModalDialogs.push_back(dialog);
    const int response = gtk_dialog_run(dialog);
    std::erase(gModalDialogs, dialog);
    return response;
}

void RunMainLoop() {
    if (!EnsureUiInitialized()) return;
    static const bool signalsWatched = [] {
        g_unix_signal_add(SIGTERM, QuitOnSignal, nullptr);
        g_unix_signal_add(SIGINT, QuitOnSignal, nullptr);
        return true;
    }();
    (void)signalsWatched;
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
    if (!EnsureUiInitialized()) {
        // Without a display there are no toolkit events, but queued work still runs.
        while (g_main_context_pending(nullptr))
            g_main_context_iteration(nullptr, FALSE);
        return;
    }
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

void SetApplicationTitle(const std::string& title) {
    gApplicationTitle = title;
    g_set_application_name(title.c_str());
}

const std::string& ApplicationTitle() {
    return gApplicationTitle;
}

} // namespace Platform
