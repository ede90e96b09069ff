// The browser view's life: making it inside the host's container, closing it, and the event
// registrations.
#include "webview/BrowserView.h"

#include <algorithm>

#include "webview/Automation.h"
#include "webview/StatusBubble.h"

namespace CrvWebView {

namespace {

constexpr const char* kViewKey = "crv-browser-view";

} // namespace

TBrowserView::TBrowserView(ICoreWebView2Environment* environment, const TEnvironmentOptions& options)
    : FEnvironment(environment), FOptions(options) {}

TBrowserView::~TBrowserView() {
    Shutdown();
    if (FContentManager) g_object_unref(FContentManager);
}

TBrowserView* TBrowserView::Create(ICoreWebView2Environment* environment, WebKitWebContext* context,
                                   const TEnvironmentOptions& options, GtkWidget* parent) {
    auto* self = new TBrowserView(environment, options);
    self->FParent = parent;
    self->FContentManager = webkit_user_content_manager_new();
    WebKitSettings* settings = webkit_settings_new();
    // Pages may open windows without a click; the host decides about them in NewWindowRequested.
    webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
    // The app's pages are one origin, as the folder they come from: without this every address of the
    // private scheme, a local one, would be an origin of its own and workers could not start.
    webkit_settings_set_allow_file_access_from_file_urls(settings, TRUE);
    self->FSettings = ComPtr<TSettings>::Attach(new TSettings(settings));
    const bool automated = ControlledByAutomation(context);
    self->FView = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                               "user-content-manager", self->FContentManager, "settings",
                                               settings, "is-controlled-by-automation", automated, nullptr));
    g_object_unref(settings);
    g_object_ref_sink(self->FView);
    g_object_set_data(G_OBJECT(self->FView), kViewKey, self);
    if (options.HasBackground) webkit_web_view_set_background_color(self->FView, &options.Background);

    // The page channel first: its script must run before any script the host adds.
    self->ConnectMessageChannel();
    self->ConnectNavigationSignals();
    self->ConnectControllerSignals();
    self->ConnectKeySignals();
    self->ConnectPageRequestSignals();
    self->ConnectNewWindowSignals();
    g_signal_connect(self->FView, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer data) {
                         // The host destroyed its container with the view in it.
                         static_cast<TBrowserView*>(data)->Shutdown();
                     }),
                     self);

    GtkAllocation area;
    gtk_widget_get_allocation(parent, &area);
    self->FBounds = RECT{0, 0, std::max(area.width, 0), std::max(area.height, 0)};
    gtk_layout_put(GTK_LAYOUT(parent), GTK_WIDGET(self->FView), 0, 0);
    self->ApplyBounds();
    gtk_widget_show(GTK_WIDGET(self->FView));
    self->FStatusBubble = new TStatusBubble(parent);
    if (automated) OfferToAutomation(self->FView);
    return self;
}

TBrowserView* TBrowserView::FromWidget(WebKitWebView* view) {
    return static_cast<TBrowserView*>(g_object_get_data(G_OBJECT(view), kViewKey));
}

void TBrowserView::Shutdown() {
    if (FClosed) return;
    FClosed = true;
    if (FPendingPull) {
        webkit_script_message_reply_unref(FPendingPull);
        FPendingPull = nullptr;
    }
    g_signal_handlers_disconnect_by_data(FView, this);
    g_signal_handlers_disconnect_by_data(FContentManager, this);
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_back_forward_list(FView), this);
    g_object_set_data(G_OBJECT(FView), kViewKey, nullptr);
    delete FStatusBubble;
    FStatusBubble = nullptr;
    gtk_widget_destroy(GTK_WIDGET(FView));
    g_object_unref(FView);
    // Handlers often hold the host, which holds this view: let go of them.
    FZoomFactorChanged.Clear();
    FMoveFocusRequested.Clear();
    FGotFocus.Clear();
    FLostFocus.Clear();
    FAcceleratorKeyPressed.Clear();
    FNavigationStarting.Clear();
    FContentLoading.Clear();
    FSourceChanged.Clear();
    FHistoryChanged.Clear();
    FNavigationCompleted.Clear();
    FFrameNavigationStarting.Clear();
    FFrameNavigationCompleted.Clear();
    FScriptDialogOpening.Clear();
    FPermissionRequested.Clear();
    FProcessFailed.Clear();
    FWebMessageReceived.Clear();
    FNewWindowRequested.Clear();
    FDocumentTitleChanged.Clear();
    FContainsFullScreenElementChanged.Clear();
    FWebResourceRequested.Clear();
    FWindowCloseRequested.Clear();
}

HRESULT TBrowserView::Close() {
    CRV_REQUIRE_OPEN();
    ComPtr<TBrowserView> keep(this);
    Shutdown();
    return S_OK;
}

HRESULT TBrowserView::get_CoreWebView2(ICoreWebView2** coreWebView2) {
    CRV_REQUIRE_OPEN();
    if (!coreWebView2) return E_POINTER;
    *coreWebView2 = AsWebView();
    AddRef();
    return S_OK;
}

HRESULT TBrowserView::get_Settings(ICoreWebView2Settings** settings) {
    CRV_REQUIRE_OPEN();
    if (!settings) return E_POINTER;
    *settings = FSettings.Get();
    FSettings->AddRef();
    return S_OK;
}

// Registrations: each pair adds to and removes from one event list. Removing stays possible after
// Close, so a host can drop its handlers in any order.
#define CRV_EVENT(Name, Handler)                                                                             \
    HRESULT TBrowserView::add_##Name(Handler* handler, EventRegistrationToken* token) {                      \
        CRV_REQUIRE_OPEN();                                                                                  \
        return F##Name.Add(handler, token);                                                                  \
    }                                                                                                        \
    HRESULT TBrowserView::remove_##Name(EventRegistrationToken token) {                                      \
        return F##Name.Remove(token);                                                                        \
    }

CRV_EVENT(ZoomFactorChanged, ICoreWebView2ZoomFactorChangedEventHandler)
CRV_EVENT(MoveFocusRequested, ICoreWebView2MoveFocusRequestedEventHandler)
CRV_EVENT(GotFocus, ICoreWebView2FocusChangedEventHandler)
CRV_EVENT(LostFocus, ICoreWebView2FocusChangedEventHandler)
CRV_EVENT(AcceleratorKeyPressed, ICoreWebView2AcceleratorKeyPressedEventHandler)
CRV_EVENT(NavigationStarting, ICoreWebView2NavigationStartingEventHandler)
CRV_EVENT(ContentLoading, ICoreWebView2ContentLoadingEventHandler)
CRV_EVENT(SourceChanged, ICoreWebView2SourceChangedEventHandler)
CRV_EVENT(HistoryChanged, ICoreWebView2HistoryChangedEventHandler)
CRV_EVENT(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
CRV_EVENT(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler)
CRV_EVENT(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
CRV_EVENT(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler)
CRV_EVENT(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler)
CRV_EVENT(ProcessFailed, ICoreWebView2ProcessFailedEventHandler)
CRV_EVENT(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler)
CRV_EVENT(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler)
CRV_EVENT(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler)
CRV_EVENT(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler)
CRV_EVENT(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler)
CRV_EVENT(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler)

#undef CRV_EVENT

} // namespace CrvWebView
