// Navigation: loading what the host asks for, and the load's progress as the host's events. file: URLs
// become the private scheme on the way in and return to file: in everything the host reads.
#include <utility>

#include "webview/BrowserView.h"
#include "webview/EventArgs.h"
#include "webview/FileUris.h"
#include "webview/ProcessId.h"
#include "webview/Text.h"
#include "webview/WebErrors.h"

namespace CrvWebView {

namespace {

std::string ViewUri(WebKitWebView* view) {
    const gchar* uri = webkit_web_view_get_uri(view);
    return uri ? uri : "";
}

// The browser does not say which frame a navigation is for. Frames mostly load without a click (an
// iframe's src); the main frame follows links, forms, history and scripts run from a click.
bool LikelyTopLevel(WebKitNavigationAction* action) {
    return webkit_navigation_action_get_navigation_type(action) != WEBKIT_NAVIGATION_TYPE_OTHER ||
           webkit_navigation_action_is_user_gesture(action);
}

std::string ViewTitle(WebKitWebView* view) {
    const gchar* title = webkit_web_view_get_title(view);
    return title ? title : "";
}

} // namespace

void TBrowserView::ConnectNavigationSignals() {
    g_signal_connect(FView, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(FView, "load-changed", G_CALLBACK(OnLoadChanged), this);
    g_signal_connect(FView, "load-failed", G_CALLBACK(OnLoadFailed), this);
    g_signal_connect(FView, "load-failed-with-tls-errors", G_CALLBACK(OnLoadFailedWithTlsErrors), this);
    g_signal_connect(FView, "notify::uri", G_CALLBACK(OnUriChanged), this);
    g_signal_connect(FView, "notify::title", G_CALLBACK(OnTitleChanged), this);
    g_signal_connect(webkit_web_view_get_back_forward_list(FView), "changed",
                     G_CALLBACK(OnHistoryListChanged), this);
}

void TBrowserView::LoadInBrowser(const std::string& hostUri) {
    FApiNavigation = true;
    webkit_web_view_load_uri(FView, ToBrowserUri(hostUri).c_str());
}

HRESULT TBrowserView::Navigate(LPCWSTR uri) {
    CRV_REQUIRE_OPEN();
    if (!uri) return E_INVALIDARG;
    const std::string text = ToUtf8(uri);
    if (!g_uri_is_valid(text.c_str(), G_URI_FLAGS_PARSE_RELAXED, nullptr)) return E_INVALIDARG;
    LoadInBrowser(text);
    return S_OK;
}

HRESULT TBrowserView::NavigateToString(LPCWSTR htmlContent) {
    CRV_REQUIRE_OPEN();
    if (!htmlContent) return E_INVALIDARG;
    FApiNavigation = true;
    webkit_web_view_load_html(FView, ToUtf8(htmlContent).c_str(), nullptr);
    return S_OK;
}

HRESULT TBrowserView::Reload() {
    CRV_REQUIRE_OPEN();
    FApiNavigation = true;
    webkit_web_view_reload(FView);
    return S_OK;
}

HRESULT TBrowserView::get_CanGoBack(BOOL* canGoBack) {
    CRV_REQUIRE_OPEN();
    if (!canGoBack) return E_POINTER;
    *canGoBack = webkit_web_view_can_go_back(FView);
    return S_OK;
}

HRESULT TBrowserView::get_CanGoForward(BOOL* canGoForward) {
    CRV_REQUIRE_OPEN();
    if (!canGoForward) return E_POINTER;
    *canGoForward = webkit_web_view_can_go_forward(FView);
    return S_OK;
}

HRESULT TBrowserView::GoBack() {
    CRV_REQUIRE_OPEN();
    if (webkit_web_view_can_go_back(FView)) {
        FApiNavigation = true;
        webkit_web_view_go_back(FView);
    }
    return S_OK;
}

HRESULT TBrowserView::GoForward() {
    CRV_REQUIRE_OPEN();
    if (webkit_web_view_can_go_forward(FView)) {
        FApiNavigation = true;
        webkit_web_view_go_forward(FView);
    }
    return S_OK;
}

HRESULT TBrowserView::Stop() {
    CRV_REQUIRE_OPEN();
    webkit_web_view_stop_loading(FView);
    return S_OK;
}

HRESULT TBrowserView::get_Source(LPWSTR* uri) {
    CRV_REQUIRE_OPEN();
    return OutString(ToHostUri(FSource), uri);
}

HRESULT TBrowserView::get_DocumentTitle(LPWSTR* title) {
    CRV_REQUIRE_OPEN();
    return OutString(ViewTitle(FView), title);
}

HRESULT TBrowserView::get_BrowserProcessId(UINT32* value) {
    CRV_REQUIRE_OPEN();
    if (!value) return E_POINTER;
    *value = FindWebProcessId();
    return S_OK;
}

HRESULT TBrowserView::get_ContainsFullScreenElement(BOOL* value) {
    CRV_REQUIRE_OPEN();
    if (!value) return E_POINTER;
    *value = FFullScreen;
    return S_OK;
}

gboolean TBrowserView::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                      WebKitPolicyDecisionType type, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const std::string uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (IsFileUri(uri) && IsPrivateUri(ViewUri(self->FView)) && LikelyTopLevel(action)) {
        // The browser would read the file itself, past the host: go through the private scheme instead.
        webkit_policy_decision_ignore(decision);
        self->FApiNavigation = false;
        self->FRecentActions.emplace_back(ToBrowserUri(uri),
                                          webkit_navigation_action_is_user_gesture(action));
        webkit_web_view_load_uri(self->FView, ToBrowserUri(uri).c_str());
        return TRUE;
    }
    if (self->FRecentActions.size() >= 8) self->FRecentActions.erase(self->FRecentActions.begin());
    self->FRecentActions.emplace_back(uri, webkit_navigation_action_is_user_gesture(action));
    return FALSE;
}

void TBrowserView::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    ComPtr<TBrowserView> keep(self);
    switch (event) {
    case WEBKIT_LOAD_STARTED:
        self->LoadStarted(false);
        break;
    case WEBKIT_LOAD_REDIRECTED:
        self->LoadStarted(true);
        break;
    case WEBKIT_LOAD_COMMITTED:
        self->LoadCommitted();
        break;
    case WEBKIT_LOAD_FINISHED:
        self->LoadFinished();
        break;
    }
}

// The main frame's load has begun; a cancel from the host stops it before anything is requested.
void TBrowserView::LoadStarted(bool redirected) {
    FLoading = true;
    FProvisional = true;
    if (FShowingErrorPage) return; // the error page of a failed load is no navigation of its own
    if (!redirected) {
        FNavigationId = FNextNavigationId++;
        FLoadFailed = false;
    }
    // The view learns the address of a navigation the page started only when it commits; the browser
    // asked about the navigation just before it began.
    std::string uri = ViewUri(FView);
    bool userInitiated = FApiNavigation;
    FApiNavigation = false;
    if (!FRecentActions.empty()) {
        uri = FRecentActions.back().first;
        userInitiated = userInitiated || FRecentActions.back().second;
    }
    FRecentActions.clear();
    FPendingUri = uri;
    FCancelledUri.clear();
    if (FNavigationStarting.Empty()) return;
    auto args = ComPtr<TNavigationStartingArgs>::Attach(
        new TNavigationStartingArgs(ToHostUri(uri), userInitiated, redirected, FNavigationId));
    FNavigationStarting.Raise(AsWebView(),
                              static_cast<ICoreWebView2NavigationStartingEventArgs*>(args.Get()));
    if (args->Cancelled() && !FClosed) {
        // The browser asks for the document as the load begins; that request ends unanswered.
        FCancelledUri = uri;
        webkit_web_view_stop_loading(FView);
    }
}

void TBrowserView::LoadCommitted() {
    FProvisional = false;
    const std::string uri = ViewUri(FView);
    if (uri != FSource) {
        FSource = uri;
        RaiseSourceChanged(true);
    }
    if (!FClosed && !FContentLoading.Empty()) {
        auto args =
            ComPtr<TContentLoadingArgs>::Attach(new TContentLoadingArgs(FShowingErrorPage, FNavigationId));
        FContentLoading.Raise(AsWebView(), static_cast<ICoreWebView2ContentLoadingEventArgs*>(args.Get()));
    }
    if (FHistoryPending && !FClosed) {
        FHistoryPending = false;
        FHistoryChanged.Raise(AsWebView(), static_cast<IUnknown*>(nullptr));
    }
}

// A failed navigation completes once its error page is in place, after that page's ContentLoading.
void TBrowserView::LoadFinished() {
    FLoading = false;
    FProvisional = false;
    bool success = true;
    if (FLoadFailed) {
        FLoadFailed = false;
        if (FShowingErrorPage) {
            FErrorPageCompletes = true;
            return;
        }
        success = false;
    } else if (FShowingErrorPage) {
        FShowingErrorPage = false;
        if (!std::exchange(FErrorPageCompletes, false)) return;
        success = false;
    }
    SettleTitle();
    if (FClosed || FNavigationCompleted.Empty()) return;
    auto args = ComPtr<TNavigationCompletedArgs>::Attach(new TNavigationCompletedArgs(
        success, success ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN : FLoadError, FNavigationId));
    FNavigationCompleted.Raise(AsWebView(),
                               static_cast<ICoreWebView2NavigationCompletedEventArgs*>(args.Get()));
}

gboolean TBrowserView::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* failingUri, GError* error,
                                    gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    self->FLoadFailed = true;
    self->FLoadError = WebErrorStatusFromError(error);
    // Loads stopped on purpose show no error page, here as in the browser's own handling.
    if (self->FLoadError == COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED) return FALSE;
    self->FShowingErrorPage = true;
    if (self->FSettings->BuiltInErrorPageEnabled()) return FALSE;
    webkit_web_view_load_alternate_html(self->FView, "", failingUri, nullptr);
    return TRUE;
}

gboolean TBrowserView::OnLoadFailedWithTlsErrors(WebKitWebView*, gchar*, GTlsCertificate*,
                                                 GTlsCertificateFlags errors, gpointer data) {
    // load-failed follows with a generic TLS error; keep the more precise status.
    auto* self = static_cast<TBrowserView*>(data);
    self->FLoadFailed = true;
    self->FLoadError = WebErrorStatusFromTlsErrors(errors);
    return FALSE;
}

// Same-document changes (fragments, history.pushState) change the source without a load of their own:
// outside any load, or after the load in progress committed its document.
void TBrowserView::OnUriChanged(GObject*, GParamSpec*, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    const bool idle = !self->FLoading && !self->FApiNavigation && !webkit_web_view_is_loading(self->FView);
    const bool committed = self->FLoading && !self->FProvisional;
    if (!idle && !committed) return;
    const std::string uri = ViewUri(self->FView);
    if (uri == self->FSource || uri.empty()) return;
    ComPtr<TBrowserView> keep(self);
    self->FSource = uri;
    self->RaiseSourceChanged(false);
}

void TBrowserView::RaiseSourceChanged(bool newDocument) {
    if (FClosed || FSourceChanged.Empty()) return;
    auto args = ComPtr<TSourceChangedArgs>::Attach(new TSourceChangedArgs(newDocument));
    FSourceChanged.Raise(AsWebView(), static_cast<ICoreWebView2SourceChangedEventArgs*>(args.Get()));
}

// A new document clears the title before it sets its own: an empty title waits until the load ended
// (and a moment more, as the page's title may arrive just after), so the host does not see the blank
// between two titles.
void TBrowserView::OnTitleChanged(GObject*, GParamSpec*, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (self->FLoading && ViewTitle(self->FView).empty()) return;
    ComPtr<TBrowserView> keep(self);
    self->RaiseTitleChanged();
}

void TBrowserView::SettleTitle() {
    if (FClosed || !ViewTitle(FView).empty() || FTitle.empty()) return;
    AddRef();
    g_timeout_add(
        100,
        [](gpointer data) -> gboolean {
            auto self = ComPtr<TBrowserView>::Attach(static_cast<TBrowserView*>(data));
            if (!self->FLoading) self->RaiseTitleChanged();
            return G_SOURCE_REMOVE;
        },
        this);
}

void TBrowserView::RaiseTitleChanged() {
    if (FClosed) return;
    const std::string title = ViewTitle(FView);
    if (title == FTitle) return;
    FTitle = title;
    FDocumentTitleChanged.Raise(AsWebView(), static_cast<IUnknown*>(nullptr));
}

void TBrowserView::OnHistoryListChanged(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer,
                                        gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    // With a document on its way, the host hears of the history after the document's own events.
    if (self->FProvisional) {
        self->FHistoryPending = true;
        return;
    }
    ComPtr<TBrowserView> keep(self);
    self->FHistoryChanged.Raise(self->AsWebView(), static_cast<IUnknown*>(nullptr));
}

} // namespace CrvWebView
