// Automation by a WebDriver service.
#include "webview/Automation.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace CrvWebView {

namespace {

WebKitWebContext* gAutomatedContext = nullptr;
// The host view the driver gets, and what became of it.
WebKitWebView* gHostView = nullptr;
bool gViewMade = false;
bool gViewTaken = false;
bool gViewDestroyed = false;

constexpr const char* kDriverProgram = "WebKitWebDriver";

// A session can arrive while the window is still being set up; a page may keep its window open.
constexpr guint kViewWaitMs = 30000;
constexpr guint kCloseWaitMs = 10000;

// Runs the main loop until done is set or ms have passed. The driver's commands arrive as one
// synchronous call each, so waiting for the host means running its loop inside that call.
void RunLoopUntil(const bool& done, guint ms) {
    bool expired = false;
    const guint timer = g_timeout_add(
        ms, [](gpointer flag) -> gboolean { return *static_cast<bool*>(flag) = true, G_SOURCE_REMOVE; },
        &expired);
    while (!done && !expired)
        g_main_context_iteration(nullptr, TRUE);
    if (!expired) g_source_remove(timer);
}

// The driver asks for its browsing context: the app's window is it, once. Further windows or tabs are
// refused, as the app opens its own windows in processes of their own.
WebKitWebView* OnCreateWebView(WebKitAutomationSession*, gpointer) {
    if (gViewTaken) return nullptr;
    RunLoopUntil(gViewMade, kViewWaitMs);
    if (!gHostView || gViewDestroyed) return nullptr;
    gViewTaken = true;
    return gHostView;
}

// The driver closes its window as the session ends, and counts on it being gone when the call returns:
// it is the close box, so the page is asked first and the program ends in order.
void OnDriverClose(WebKitWebView* view, gpointer) {
    GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
    if (!GTK_IS_WINDOW(top)) return;
    gtk_window_close(GTK_WINDOW(top));
    RunLoopUntil(gViewDestroyed, kCloseWaitMs);
}

void OnAutomationStarted(WebKitWebContext*, WebKitAutomationSession* session, gpointer) {
    // The driver compares these with the session's browserName and browserVersion capabilities.
    WebKitApplicationInfo* info = webkit_application_info_new();
    const gchar* name = g_get_application_name();
    webkit_application_info_set_name(info, name ? name : "");
    webkit_application_info_set_version(info, webkit_get_major_version(), webkit_get_minor_version(),
                                        webkit_get_micro_version());
    webkit_automation_session_set_application_info(session, info);
    webkit_application_info_unref(info);
    g_signal_connect(session, "create-web-view", G_CALLBACK(OnCreateWebView), nullptr);
}

// The driver starts its browser as a child with the address of the inspector server it connects to in
// the environment. The address alone is not enough: a program started by hand with it set would take
// sessions from whoever connects to it.
bool StartedByDriver() {
    const char* address = std::getenv("WEBKIT_INSPECTOR_SERVER");
    if (!address || !*address) return false;
    gchar* parent = g_strdup_printf("/proc/%d/exe", static_cast<int>(getppid()));
    gchar* program = g_file_read_link(parent, nullptr);
    gchar* name = program ? g_path_get_basename(program) : nullptr;
    const bool driver = name && std::strcmp(name, kDriverProgram) == 0;
    g_free(name);
    g_free(program);
    g_free(parent);
    return driver;
}

} // namespace

void AllowAutomationIfDriven(WebKitWebContext* context) {
    if (gAutomatedContext || !StartedByDriver()) return;
    gAutomatedContext = context;
    webkit_web_context_set_automation_allowed(context, TRUE);
    g_signal_connect(context, "automation-started", G_CALLBACK(OnAutomationStarted), nullptr);
    // The browser took the address when the context was made. What the program starts from now on
    // (new windows, shell commands) is not the driver's, and must not take it for a driver's start.
    g_unsetenv("WEBKIT_INSPECTOR_SERVER");
}

bool ControlledByAutomation(WebKitWebContext* context) {
    return context && context == gAutomatedContext && !gViewMade;
}

void OfferToAutomation(WebKitWebView* view) {
    if (gViewMade) return;
    gViewMade = true;
    gHostView = view;
    g_object_add_weak_pointer(G_OBJECT(view), reinterpret_cast<gpointer*>(&gHostView));
    g_signal_connect(view, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer) { gViewDestroyed = true; }),
                     nullptr);
    g_signal_connect(view, "close", G_CALLBACK(OnDriverClose), nullptr);
}

} // namespace CrvWebView
