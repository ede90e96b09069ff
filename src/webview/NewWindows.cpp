// Windows that pages open: offered to the host first; unless it handles them, the browser opens a
// window of its own with a view related to the opener.
#include "webview/BrowserView.h"
#include "webview/EventArgs.h"
#include "webview/FileUris.h"

namespace CrvWebView {

namespace {

GtkWidget* OpenBrowserWindow(WebKitWebView* opener);

GtkWidget* OnPopupCreate(WebKitWebView* view, WebKitNavigationAction*, gpointer) {
    return OpenBrowserWindow(view);
}

// A top-level window around a view related to its opener: same web process and data, none of the
// host's scripts or events.
GtkWidget* OpenBrowserWindow(WebKitWebView* opener) {
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    auto* view =
        WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", opener, "user-content-manager",
                                     content, "settings", webkit_web_view_get_settings(opener), nullptr));
    g_object_unref(content);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(view));

    g_signal_connect(view, "ready-to-show", G_CALLBACK(+[](WebKitWebView* shown, gpointer top) {
                         GdkRectangle area{};
                         webkit_window_properties_get_geometry(webkit_web_view_get_window_properties(shown),
                                                               &area);
                         if (area.width > 0 && area.height > 0)
                             gtk_window_resize(GTK_WINDOW(top), area.width, area.height);
                         if (area.x > 0 || area.y > 0) gtk_window_move(GTK_WINDOW(top), area.x, area.y);
                         gtk_widget_show_all(GTK_WIDGET(top));
                     }),
                     window);
    g_signal_connect(view, "close",
                     G_CALLBACK(+[](WebKitWebView*, gpointer top) { gtk_widget_destroy(GTK_WIDGET(top)); }),
                     window);
    g_signal_connect(view, "notify::title", G_CALLBACK(+[](GObject* titled, GParamSpec*, gpointer top) {
                         const gchar* title = webkit_web_view_get_title(WEBKIT_WEB_VIEW(titled));
                         gtk_window_set_title(GTK_WINDOW(top), title ? title : "");
                     }),
                     window);
    g_signal_connect(view, "create", G_CALLBACK(OnPopupCreate), nullptr);
    return GTK_WIDGET(view);
}

} // namespace

void TBrowserView::ConnectNewWindowSignals() {
    g_signal_connect(FView, "create", G_CALLBACK(OnCreate), this);
}

GtkWidget* TBrowserView::OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (!self->FNewWindowRequested.Empty()) {
        const gchar* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
        // window.open() without an address opens a blank document.
        auto args = ComPtr<TNewWindowRequestedArgs>::Attach(new TNewWindowRequestedArgs(
            uri && *uri ? ToHostUri(uri) : "about:blank", webkit_navigation_action_is_user_gesture(action)));
        ComPtr<TBrowserView> keep(self);
        self->FNewWindowRequested.Raise(self->AsWebView(),
                                        static_cast<ICoreWebView2NewWindowRequestedEventArgs*>(args.Get()));
        if (args->Handled() || self->FClosed) return nullptr;
    }
    return OpenBrowserWindow(view);
}

} // namespace CrvWebView
