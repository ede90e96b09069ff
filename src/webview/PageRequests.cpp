// What a page asks of its window: dialogs, permissions, the context menu, full screen, closing; the
// status bubble; and the web process's failures.
#include <memory>

#include "webview/BrowserView.h"
#include "webview/EventArgs.h"
#include "webview/FileUris.h"
#include "webview/StatusBubble.h"

namespace CrvWebView {

namespace {

COREWEBVIEW2_SCRIPT_DIALOG_KIND DialogKind(WebKitScriptDialog* dialog) {
    switch (webkit_script_dialog_get_dialog_type(dialog)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
        return COREWEBVIEW2_SCRIPT_DIALOG_KIND_CONFIRM;
    case WEBKIT_SCRIPT_DIALOG_PROMPT:
        return COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT;
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
        return COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD;
    default:
        return COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT;
    }
}

COREWEBVIEW2_PERMISSION_KIND PermissionKind(WebKitPermissionRequest* request) {
    if (WEBKIT_IS_GEOLOCATION_PERMISSION_REQUEST(request)) return COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION;
    if (WEBKIT_IS_NOTIFICATION_PERMISSION_REQUEST(request)) return COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS;
    if (WEBKIT_IS_CLIPBOARD_PERMISSION_REQUEST(request)) return COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ;
    if (WEBKIT_IS_USER_MEDIA_PERMISSION_REQUEST(request)) {
        auto* media = WEBKIT_USER_MEDIA_PERMISSION_REQUEST(request);
        return webkit_user_media_permission_is_for_video_device(media)
                   ? COREWEBVIEW2_PERMISSION_KIND_CAMERA
                   : COREWEBVIEW2_PERMISSION_KIND_MICROPHONE;
    }
    return COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION;
}

} // namespace

void TBrowserView::ConnectPageRequestSignals() {
    g_signal_connect(FView, "script-dialog", G_CALLBACK(OnScriptDialog), this);
    g_signal_connect(FView, "permission-request", G_CALLBACK(OnPermissionRequest), this);
    g_signal_connect(FView, "context-menu", G_CALLBACK(OnContextMenu), this);
    g_signal_connect(FView, "enter-fullscreen", G_CALLBACK(OnEnterFullScreen), this);
    g_signal_connect(FView, "leave-fullscreen", G_CALLBACK(OnLeaveFullScreen), this);
    g_signal_connect(FView, "web-process-terminated", G_CALLBACK(OnProcessTerminated), this);
    g_signal_connect(FView, "notify::is-web-process-responsive", G_CALLBACK(OnResponsiveChanged), this);
    g_signal_connect(FView, "mouse-target-changed", G_CALLBACK(OnMouseTargetChanged), this);
    g_signal_connect(FView, "close", G_CALLBACK(OnViewClose), this);
}

// With the default dialogs switched off the host answers them; unanswered ones are dismissed. An answer
// given while the handlers run goes back when the signal returns; a deferred one closes the dialog later.
gboolean TBrowserView::OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (self->FSettings->DefaultScriptDialogsEnabled()) return FALSE;
    const auto kind = DialogKind(dialog);
    const char* defaultText = kind == COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT
                                  ? webkit_script_dialog_prompt_get_default_text(dialog)
                                  : "";
    auto handlersRunning = std::make_shared<bool>(true);
    webkit_script_dialog_ref(dialog);
    auto args = ComPtr<TScriptDialogOpeningArgs>::Attach(
        new TScriptDialogOpeningArgs(ToHostUri(self->FSource), kind, webkit_script_dialog_get_message(dialog),
                                     defaultText ? defaultText : "",
                                     [dialog, kind, handlersRunning](bool accepted, const std::string& text) {
                                         if (kind == COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT) {
                                             if (accepted)
                                                 webkit_script_dialog_prompt_set_text(dialog, text.c_str());
                                         } else if (kind != COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT) {
                                             webkit_script_dialog_confirm_set_confirmed(dialog, accepted);
                                         }
                                         if (!*handlersRunning) webkit_script_dialog_close(dialog);
                                         webkit_script_dialog_unref(dialog);
                                     }));
    ComPtr<TBrowserView> keep(self);
    self->FScriptDialogOpening.Raise(self->AsWebView(),
                                     static_cast<ICoreWebView2ScriptDialogOpeningEventArgs*>(args.Get()));
    args->HandlersDone();
    *handlersRunning = false;
    return TRUE;
}

// State 1 grants, 2 denies; 0 leaves the request to the browser, which denies what nobody granted.
gboolean TBrowserView::OnPermissionRequest(WebKitWebView*, WebKitPermissionRequest* request, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (self->FPermissionRequested.Empty()) return FALSE;
    struct TDecision {
        bool HandlersRunning = true;
        bool LeftToBrowser = false;
    };
    auto decision = std::make_shared<TDecision>();
    g_object_ref(request);
    auto args = ComPtr<TPermissionRequestedArgs>::Attach(new TPermissionRequestedArgs(
        ToHostUri(self->FSource), PermissionKind(request), false,
        [request, decision](COREWEBVIEW2_PERMISSION_STATE state) {
            if (state == COREWEBVIEW2_PERMISSION_STATE_ALLOW)
                webkit_permission_request_allow(request);
            else if (state == COREWEBVIEW2_PERMISSION_STATE_DENY || !decision->HandlersRunning)
                webkit_permission_request_deny(request);
            else
                decision->LeftToBrowser = true;
            g_object_unref(request);
        }));
    ComPtr<TBrowserView> keep(self);
    self->FPermissionRequested.Raise(self->AsWebView(),
                                     static_cast<ICoreWebView2PermissionRequestedEventArgs*>(args.Get()));
    args->HandlersDone();
    decision->HandlersRunning = false;
    return decision->LeftToBrowser ? FALSE : TRUE;
}

gboolean TBrowserView::OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*,
                                     gpointer data) {
    return static_cast<TBrowserView*>(data)->FSettings->DefaultContextMenusEnabled() ? FALSE : TRUE;
}

// The browser puts the element in full screen by making its top-level window full screen.
gboolean TBrowserView::OnEnterFullScreen(WebKitWebView*, gpointer data) {
    static_cast<TBrowserView*>(data)->SetFullScreen(true);
    return FALSE;
}

gboolean TBrowserView::OnLeaveFullScreen(WebKitWebView*, gpointer data) {
    static_cast<TBrowserView*>(data)->SetFullScreen(false);
    return FALSE;
}

void TBrowserView::SetFullScreen(bool fullScreen) {
    if (FFullScreen == fullScreen) return;
    FFullScreen = fullScreen;
    ComPtr<TBrowserView> keep(this);
    FContainsFullScreenElementChanged.Raise(AsWebView(), static_cast<IUnknown*>(nullptr));
}

void TBrowserView::OnProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (self->FProcessFailed.Empty()) return;
    ComPtr<TBrowserView> keep(self);
    auto args = ComPtr<TProcessFailedArgs>::Attach(
        new TProcessFailedArgs(COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED));
    self->FProcessFailed.Raise(self->AsWebView(),
                               static_cast<ICoreWebView2ProcessFailedEventArgs*>(args.Get()));
}

void TBrowserView::OnResponsiveChanged(GObject*, GParamSpec*, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (webkit_web_view_get_is_web_process_responsive(self->FView) || self->FProcessFailed.Empty()) return;
    ComPtr<TBrowserView> keep(self);
    auto args = ComPtr<TProcessFailedArgs>::Attach(
        new TProcessFailedArgs(COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE));
    self->FProcessFailed.Raise(self->AsWebView(),
                               static_cast<ICoreWebView2ProcessFailedEventArgs*>(args.Get()));
}

void TBrowserView::OnMouseTargetChanged(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (!self->FStatusBubble) return;
    if (self->FSettings->StatusBarEnabled() && webkit_hit_test_result_context_is_link(hit))
        self->FStatusBubble->Show(ToHostUri(webkit_hit_test_result_get_link_uri(hit)));
    else
        self->FStatusBubble->Hide();
}

// window.close() of a page the browser lets close itself; other pages report it through the channel.
void TBrowserView::OnViewClose(WebKitWebView*, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    ComPtr<TBrowserView> keep(self);
    self->FWindowCloseRequested.Raise(self->AsWebView(), static_cast<IUnknown*>(nullptr));
}

HRESULT TBrowserView::OpenDevToolsWindow() {
    CRV_REQUIRE_OPEN();
    if (FSettings->DevToolsEnabled()) webkit_web_inspector_show(webkit_web_view_get_inspector(FView));
    return S_OK;
}

// The browser offers no protocol of its own for these, and host objects would need COM automation.
HRESULT TBrowserView::CallDevToolsProtocolMethod(LPCWSTR, LPCWSTR,
                                                 ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) {
    CRV_REQUIRE_OPEN();
    return E_NOTIMPL;
}

HRESULT
TBrowserView::GetDevToolsProtocolEventReceiver(LPCWSTR,
                                               ICoreWebView2DevToolsProtocolEventReceiver** receiver) {
    CRV_REQUIRE_OPEN();
    if (receiver) *receiver = nullptr;
    return E_NOTIMPL;
}

HRESULT TBrowserView::AddHostObjectToScript(LPCWSTR, VARIANT*) {
    CRV_REQUIRE_OPEN();
    return E_NOTIMPL;
}

HRESULT TBrowserView::RemoveHostObjectFromScript(LPCWSTR) {
    CRV_REQUIRE_OPEN();
    return E_NOTIMPL;
}

} // namespace CrvWebView
